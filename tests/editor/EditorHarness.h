#pragma once

// Builds the whole editor for a window test: the scripted doubles, a scratch
// documents folder and a given driver (no device when none is given). The editor is
// started explicitly, so a test can prepare preference files first, and can be
// restarted on the same folders. The update server is none unless a test names one,
// and the start-up version check does not run unless a test asks for it, so its timer
// cannot add a console line in the middle of a slow test.

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <chrono>
#include <memory>

#include "TestDoubles.h"
#include "app/EditorApplication.h"
#include "app/EditorContext.h"
#include "app/SettingsFiles.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "link/D2xxAccess.h"
#include "link/LinkEnvironment.h"
#include "platform/QtHttpClient.h"
#include "link/backends/NoDeviceBackend.h"

class EditorHarness {
public:
    explicit EditorHarness(varkunda::link::D2xx* driver = nullptr)
        : driver_(driver ? *driver : noDevice_) {
        linkEnvironment.onSleep = [this](std::chrono::milliseconds pause) {
            sleeps.append(static_cast<int>(pause.count()));
        };
    }
    ~EditorHarness() { stop(); }

    EditorApplication& start() {
        stop();
        EditorServices services;
        services.dialogs = &dialogs;
        services.folders = &folders;
        services.resources = &resources;
        services.shell = &shell;
        services.linkEnvironment = &linkEnvironment;
        http_ = std::make_unique<QtHttpClient>(httpTimeLimit);
        services.http = http ? http : http_.get();
        services.updateServer = updateServer;
        services.arrivals = arrivals;
        services.doctorSystem = doctorSystem;
        app_ = std::make_unique<EditorApplication>(driver_, services);
        if (!runWebVersionCheck) app_->formMain().TimerCheckWebVersion->stop();
        return *app_;
    }
    void stop() { app_.reset(); }
    EditorApplication& restart() { return start(); }

    EditorApplication& app() { return *app_; }
    EditorContext& context() { return app_->context(); }
    TformMain& main() { return app_->formMain(); }
    TformPrint& console() { return app_->formPrint(); }
    QStringList consoleLines() { return app_->formPrint().Lines(); }

    QString makerFile(const QString& name) const {
        return QDir(MakerFolderPath(folders)).filePath(name);
    }
    QString productFile(const QString& name) const { return ProductFilePath(folders, name); }

    // Writes a file, making its folder first.
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    }
    // The file's bytes, nullopt when it does not exist.
    static std::optional<QByteArray> readFile(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        return file.readAll();
    }

    ScriptedDialogs dialogs;
    TemporaryKnownFolders folders;
    RecordingShell shell;
    OverlayResourceStore resources;
    // The waits for the pedal and the fixed pauses run on a clock that moves only when
    // they pause; `sleeps` lists the pauses in milliseconds.
    varkunda::link::FakeLinkEnvironment linkEnvironment;
    QString updateServer;
    bool runWebVersionCheck = false;
    // The editor's own limit; a test of a silent server sets a shorter one.
    std::chrono::milliseconds httpTimeLimit{10000};
    // Replaces the client above when set.
    HttpClient* http = nullptr;
    // Arriving devices and the connection doctor's system; none unless a test sets them.
    varkunda::link::DeviceArrivalWatcher* arrivals = nullptr;
    const varkunda::link::DoctorSystem* doctorSystem = nullptr;
    QList<int> sleeps;

private:
    varkunda::link::NoDeviceBackend noDevice_;
    varkunda::link::D2xx& driver_;
    std::unique_ptr<QtHttpClient> http_;
    std::unique_ptr<EditorApplication> app_;
};
