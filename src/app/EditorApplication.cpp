#include "app/EditorApplication.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "effects/EditHistory.h"
#include "effects/TformFXsettings.h"
#include "firmware/TformFirmwareUpgrade.h"
#include "frontend/LinkErrorText.h"
#include "link/ConnectionDoctor.h"
#include "link/D2xxAccess.h"
#include "link/DeviceArrivalWatcher.h"
#include "link/QtLinkEnvironment.h"
#include "link/Transport.h"
#include "platform/QtDialogs.h"
#include "platform/QtHttpClient.h"
#include "platform/QtKnownFolders.h"
#include "platform/QtResourceStore.h"
#include "platform/QtShell.h"
#include "update/TformNewVersionMsg.h"
#include "update/TformUpdateUpdater.h"
#include "update/UpdateServer.h"

namespace {
// The looks are style sheets over one base style, so they look alike on every platform.
void useFusionBaseStyle() {
    if (QApplication::style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

template <typename Service, typename QtService>
Service& serviceOr(Service* given, std::unique_ptr<Service>& owned) {
    if (given) return *given;
    owned = std::make_unique<QtService>();
    return *owned;
}
}  // namespace

EditorApplication::EditorApplication(std::unique_ptr<varkunda::link::D2xx> driver,
                                     EditorServices services)
    : EditorApplication(*driver, std::move(services)) {
    ownedDriver_ = std::move(driver);
}

EditorApplication::EditorApplication(varkunda::link::D2xx& driver, EditorServices services) {
    useFusionBaseStyle();
    access_ = std::make_unique<varkunda::link::D2xxAccess>(driver);
    createServices(services);
    createTransport(services.linkEnvironment);
    connectDeviceReports();
    connectDoctor(services.doctorSystem);
    holdConsoleLinesUntilConsoleExists();
    createWindows();
    connectArrivals(services.arrivals);
}

void EditorApplication::createServices(const EditorServices& services) {
    Dialogs& dialogs = serviceOr<Dialogs, QtDialogs>(services.dialogs, ownedDialogs_);
    KnownFolders& folders =
        serviceOr<KnownFolders, QtKnownFolders>(services.folders, ownedFolders_);
    ResourceStore& resources =
        serviceOr<ResourceStore, QtResourceStore>(services.resources, ownedResources_);
    Shell& shell = serviceOr<Shell, QtShell>(services.shell, ownedShell_);
    context_ = std::make_unique<EditorContext>(dialogs, folders, resources, shell, *access_);
    context_->http = &serviceOr<HttpClient, QtHttpClient>(services.http, ownedHttp_);
    context_->UpdateServerAddress =
        services.updateServer.value_or(UpdateServer::ConfiguredBaseAddress());
}

// A failed driver call is shown in a message box; a lost device goes to whoever took the
// context's DeviceLost hook.
void EditorApplication::connectDeviceReports() {
    access_->setErrorReporter([this](const varkunda::link::LinkError& error) {
        context_->dialogs.showMessage(LinkErrorText(error));
    });
    access_->setDeviceLostHandler([this](const varkunda::link::LinkError& error) {
        context_->DeviceLost(LinkErrorText(error));
    });
}

// The doctor names one cause with its fix; a system where all looks well, or where it
// cannot tell, gives nothing to say.
void EditorApplication::connectDoctor(const varkunda::link::DoctorSystem* system) {
    if (!system) return;
    context_->DiagnoseConnection = [system = *system] {
        const varkunda::link::ConnectionDiagnosis diagnosis = DiagnoseConnection(system);
        if (diagnosis.cause == varkunda::link::ConnectionCause::AllFine ||
            diagnosis.cause == varkunda::link::ConnectionCause::CannotTell)
            return QString();
        return QString::fromStdString(diagnosis.text());
    };
}

void EditorApplication::connectArrivals(varkunda::link::DeviceArrivalWatcher* arrivals) {
    if (!arrivals) return;
    TformMain* main = formMain_.get();
    QObject::connect(arrivals, &varkunda::link::DeviceArrivalWatcher::devicesRemoved, main,
                     &TformMain::DevicesRemoved);
    QObject::connect(arrivals, &varkunda::link::DeviceArrivalWatcher::devicesArrived, main,
                     &TformMain::DevicesArrived);
}

// The link logs to whatever console the context holds at the time of the line.
void EditorApplication::createTransport(varkunda::link::LinkEnvironment* environment) {
    if (!environment) {
        ownedLinkEnvironment_ = std::make_unique<varkunda::link::QtLinkEnvironment>();
        environment = ownedLinkEnvironment_.get();
    }
    varkunda::link::LinkLog log;
    log.print = [this](const std::string& line) {
        context_->ConsolePrint(QString::fromLatin1(line));
    };
    log.appendDirect = [this](const std::string& line) {
        context_->ConsoleAppendDirect(QString::fromLatin1(line));
    };
    // The console takes lines printed in one go as one block.
    log.printLines = [this](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) context_->ConsolePrint(QString::fromLatin1(line));
    };
    transport_ =
        std::make_unique<varkunda::link::Transport>(*access_, *environment, std::move(log));
    context_->transport = transport_.get();
}

void EditorApplication::holdConsoleLinesUntilConsoleExists() {
    context_->ConsolePrint = [this](const QString& text) { heldLines_.append({text, true}); };
    context_->ConsoleAppendDirect = [this](const QString& text) {
        heldLines_.append({text, false});
    };
}

void EditorApplication::connectConsole() {
    TformPrint* console = formPrint_.get();
    for (const HeldLine& line : std::as_const(heldLines_)) {
        if (line.scroll)
            console->ConsolePrint(line.text);
        else
            console->ConsoleAppendDirect(line.text);
    }
    heldLines_.clear();
    context_->ConsolePrint = [console](const QString& text) { console->ConsolePrint(text); };
    context_->ConsoleAppendDirect = [console](const QString& text) {
        console->ConsoleAppendDirect(text);
    };
}

void EditorApplication::createWindows() {
    const auto secondary = [](QWidget& window) { window.setAttribute(Qt::WA_QuitOnClose, false); };
    editHistory_ = std::make_unique<EditHistory>(*context_);
    context_->editHistory = editHistory_.get();
    formMain_ = std::make_unique<TformMain>(*context_);
    formFirmwareUpgrade_ = std::make_unique<TformFirmwareUpgrade>(*context_);
    context_->formFirmwareUpgrade = formFirmwareUpgrade_.get();
    secondary(*formFirmwareUpgrade_);
    formMain_->controlStates().bind(Control::UpgradeFirmware,
                                    formFirmwareUpgrade_->btnUpgradeFirmware);
    formPrint_ = std::make_unique<TformPrint>(*context_);
    context_->formPrint = formPrint_.get();
    secondary(*formPrint_);
    connectConsole();
    formFXsettings_ = std::make_unique<TformFXsettings>(*context_);
    context_->formFXsettings = formFXsettings_.get();
    secondary(*formFXsettings_);
    formNewVersionMsg_ = std::make_unique<TformNewVersionMsg>(*context_);
    context_->formNewVersionMsg = formNewVersionMsg_.get();
    secondary(*formNewVersionMsg_);
    formUpdateUpdater_ = std::make_unique<TformUpdateUpdater>(*context_);
    context_->formUpdateUpdater = formUpdateUpdater_.get();
    secondary(*formUpdateUpdater_);
}

EditorApplication::~EditorApplication() {
    // Windows go in reverse order of creation; none of them outlives what it uses.
    context_->formUpdateUpdater = nullptr;
    formUpdateUpdater_.reset();
    context_->formNewVersionMsg = nullptr;
    formNewVersionMsg_.reset();
    context_->formFXsettings = nullptr;
    formFXsettings_.reset();
    holdConsoleLinesUntilConsoleExists();
    context_->formPrint = nullptr;
    formPrint_.reset();
    context_->formFirmwareUpgrade = nullptr;
    formFirmwareUpgrade_.reset();
    formMain_.reset();
    context_->editHistory = nullptr;
    editHistory_.reset();
}

void EditorApplication::show() { formMain_->show(); }
