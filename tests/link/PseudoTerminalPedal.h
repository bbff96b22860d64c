#pragma once

// The software pedal's own program serving a pseudo-terminal, and a link environment on
// the real clock for talking to it.
#ifdef VARKUNDA_PEDAL_SIM_PATH

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

#include "link/QtLinkEnvironment.h"

namespace varkunda::link {

// Real time and real events, but the fixed pauses shortened: only the software
// pedal's own answer is waited for.
class ShortPauseEnvironment final : public LinkEnvironment {
  public:
    void processEvents() override { real_.processEvents(); }
    void sleep(std::chrono::milliseconds duration) override {
        if (onSleep) onSleep(duration);
        real_.sleep(std::min(duration, std::chrono::milliseconds(1)));
    }
    std::chrono::milliseconds now() override { return real_.now(); }

    std::function<void(std::chrono::milliseconds)> onSleep;

  private:
    QtLinkEnvironment real_;
};

// The software pedal served on a pseudo-terminal by its own program.
class PedalSimProcess {
  public:
    explicit PedalSimProcess(QStringList arguments = {QStringLiteral("--no-pacing")}) {
        process_.setProgram(QStringLiteral(VARKUNDA_PEDAL_SIM_PATH));
        process_.setArguments(arguments);
        process_.start();
        if (!process_.waitForStarted(5000)) return;
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromUtf8(process_.readLine()).trimmed().toStdString();
    }
    ~PedalSimProcess() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    const std::string& path() const { return path_; }
    // The pedal pulled out: the program ends and its terminal goes with it.
    void kill() {
        process_.kill();
        process_.waitForFinished(5000);
    }

  private:
    QProcess process_;
    std::string path_;
};

}  // namespace varkunda::link

#endif  // VARKUNDA_PEDAL_SIM_PATH
