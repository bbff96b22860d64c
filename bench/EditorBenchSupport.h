#pragma once

// Shared by the editor benchmarks: a QApplication on the offscreen platform (unless
// QT_QPA_PLATFORM says otherwise), a wait for a window to be exposed, resident memory,
// and dialogs that count what they are asked to show.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QWidget>
#include <QWindow>

#include "platform/Dialogs.h"

namespace bench_support {

// No message may appear in a benchmarked run; one that does is counted and ends it.
class CountingDialogs : public Dialogs {
  public:
    void showMessage(const QString&) override { ++shown; }
    Answer askYesNo(const QString&) override {
        ++shown;
        return Answer::No;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    int shown = 0;
};

// Processes events until the window is on the screen; false after five seconds.
inline bool WaitUntilExposed(QWidget& widget) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        if (widget.windowHandle() && widget.windowHandle()->isExposed()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return false;
}

// VmRSS of this process in megabytes, 0 where /proc is not available.
inline double ResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmRSS:")) continue;
        return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

inline int RunWithApplication(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench_support
