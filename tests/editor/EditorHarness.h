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
#include "app/NoDeviceBackend.h"
#include "app/SettingsFiles.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "link/D2xxAccess.h"
#include "link/LinkEnvironment.h"
#include "platform/QtHttpClient.h"

class EditorHarness {
public:
    explicit EditorHarness(varkunda::link::D2xx* driver = nullptr)
        : driver_(driver ? *driver : noDevice_) {}
    ~EditorHarness() { stop(); }

    EditorApplication& start() {
        stop();
        EditorServices services;
        services.dialogs = &dialogs;
        services.folders = &folders;
        services.resources = &resources;
        services.shell = &shell;
        services.sleep = [this](int milliseconds) { sleeps.append(milliseconds); };
        services.linkEnvironment = &linkEnvironment;
        http_ = std::make_unique<QtHttpClient>(httpTimeLimit);
        services.http = http ? http : http_.get();
        services.updateServer = updateServer;
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
    QList<int> sleeps;
    // The waits for the pedal run on a clock that moves only when they pause.
    varkunda::link::FakeLinkEnvironment linkEnvironment;
    QString updateServer;
    bool runWebVersionCheck = false;
    // The editor's own limit; a test of a silent server sets a shorter one.
    std::chrono::milliseconds httpTimeLimit{10000};
    // Replaces the client above when set.
    HttpClient* http = nullptr;

private:
    NoDeviceBackend noDevice_;
    varkunda::link::D2xx& driver_;
    std::unique_ptr<QtHttpClient> http_;
    std::unique_ptr<EditorApplication> app_;
};
