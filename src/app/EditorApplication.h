#pragma once

#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "app/EditorContext.h"

class Dialogs;
class EditHistory;
class HttpClient;
class KnownFolders;
class ResourceStore;
class Shell;
class TformMain;
class TformFirmwareUpgrade;
class TformPrint;
class TformFXsettings;
class TformNewVersionMsg;
class TformUpdateUpdater;

namespace varkunda::link {
class D2xx;
class D2xxAccess;
class DeviceArrivalWatcher;
class LinkEnvironment;
class Transport;
struct DoctorSystem;
}  // namespace varkunda::link

// The platform services the editor uses; each one left null is the Qt implementation.
struct EditorServices {
    Dialogs* dialogs = nullptr;
    KnownFolders* folders = nullptr;
    ResourceStore* resources = nullptr;
    Shell* shell = nullptr;
    // Events, pauses and clock of the waits for the pedal and of the fixed pauses; null
    // is the Qt event loop and the real clock.
    varkunda::link::LinkEnvironment* linkEnvironment = nullptr;
    // The update server's requests; null is Qt's network access with its 10 s limit.
    HttpClient* http = nullptr;
    // The update server's base address; none is the configured one (environment, then
    // build setting).
    std::optional<QString> updateServer;
    // Bridges plugged in and pulled out while the editor runs; null: none are noticed.
    varkunda::link::DeviceArrivalWatcher* arrivals = nullptr;
    // The system the connection doctor examines when no pedal is found or a port does not
    // open; null: no doctor (the software pedal and the vendor library need none).
    const varkunda::link::DoctorSystem* doctorSystem = nullptr;
};

// The whole editor: the services, the device access on the given driver, the shared
// context and the six windows, created in their fixed order (main window first, its
// start-up running before any other window exists). Console lines logged before the
// console exists are kept and shown once it does.
class EditorApplication {
public:
    explicit EditorApplication(varkunda::link::D2xx& driver, EditorServices services = {});
    explicit EditorApplication(std::unique_ptr<varkunda::link::D2xx> driver,
                               EditorServices services = {});
    ~EditorApplication();
    EditorApplication(const EditorApplication&) = delete;
    EditorApplication& operator=(const EditorApplication&) = delete;

    // Shows the main window; the others stay hidden until opened.
    void show();

    EditorContext& context() { return *context_; }
    varkunda::link::D2xxAccess& access() { return *access_; }
    varkunda::link::Transport& transport() { return *transport_; }
    TformMain& formMain() { return *formMain_; }
    TformFirmwareUpgrade& formFirmwareUpgrade() { return *formFirmwareUpgrade_; }
    TformPrint& formPrint() { return *formPrint_; }
    TformFXsettings& formFXsettings() { return *formFXsettings_; }
    TformNewVersionMsg& formNewVersionMsg() { return *formNewVersionMsg_; }
    TformUpdateUpdater& formUpdateUpdater() { return *formUpdateUpdater_; }

private:
    void createServices(const EditorServices& services);
    void createTransport(varkunda::link::LinkEnvironment* environment);
    void connectDeviceReports();
    void connectDoctor(const varkunda::link::DoctorSystem* system);
    void connectArrivals(varkunda::link::DeviceArrivalWatcher* arrivals);
    void holdConsoleLinesUntilConsoleExists();
    void connectConsole();
    void createWindows();

    struct HeldLine {
        QString text;
        bool scroll;
    };

    std::unique_ptr<varkunda::link::D2xx> ownedDriver_;
    std::unique_ptr<Dialogs> ownedDialogs_;
    std::unique_ptr<KnownFolders> ownedFolders_;
    std::unique_ptr<ResourceStore> ownedResources_;
    std::unique_ptr<Shell> ownedShell_;
    std::unique_ptr<HttpClient> ownedHttp_;
    std::unique_ptr<varkunda::link::D2xxAccess> access_;
    std::unique_ptr<EditorContext> context_;
    std::unique_ptr<varkunda::link::LinkEnvironment> ownedLinkEnvironment_;
    std::unique_ptr<varkunda::link::Transport> transport_;
    QVector<HeldLine> heldLines_;
    std::unique_ptr<EditHistory> editHistory_;

    std::unique_ptr<TformMain> formMain_;
    std::unique_ptr<TformFirmwareUpgrade> formFirmwareUpgrade_;
    std::unique_ptr<TformPrint> formPrint_;
    std::unique_ptr<TformFXsettings> formFXsettings_;
    std::unique_ptr<TformNewVersionMsg> formNewVersionMsg_;
    std::unique_ptr<TformUpdateUpdater> formUpdateUpdater_;
};
