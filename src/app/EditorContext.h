#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

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
class D2xxAccess;
class Transport;
}  // namespace varkunda::link

// What every window of the editor shares: the platform services, the one device,
// the debug console's log and the state the main window's module owns.
struct EditorContext {
    EditorContext(Dialogs& dialogs, KnownFolders& folders, ResourceStore& resources, Shell& shell,
                  varkunda::link::D2xxAccess& device)
        : dialogs(dialogs), folders(folders), resources(resources), shell(shell), device(device) {}

    Dialogs& dialogs;
    KnownFolders& folders;
    ResourceStore& resources;
    Shell& shell;
    varkunda::link::D2xxAccess& device;
    // Writes, waits for and decodes the pedal's replies on `device`; set by the
    // application before any window exists.
    varkunda::link::Transport* transport = nullptr;

    // Appends a line to the debug console (and scrolls it when auto-scroll is on);
    // a line that does not scroll goes through ConsoleAppendDirect.
    std::function<void(const QString&)> ConsolePrint = [](const QString&) {};
    std::function<void(const QString&)> ConsoleAppendDirect = [](const QString&) {};
    // The update server's requests (never null once the application is built) and its
    // base address, empty when none is configured.
    HttpClient* http = nullptr;
    QString UpdateServerAddress;
    // Called once when the device went away while open (unplugged, switched off), even
    // with "Report USB Errors" off; `reason` says which call found out. The main window
    // takes it; until then nothing happens.
    std::function<void(const QString& reason)> DeviceLost = [](const QString&) {};
    // The connection doctor: why no pedal can be reached, with the fix, or empty when
    // nothing the system shows explains it. Null when the editor has no doctor.
    std::function<QString()> DiagnoseConnection;

    // The six windows, each set as soon as it has been created (null before that).
    TformMain* formMain = nullptr;
    TformFirmwareUpgrade* formFirmwareUpgrade = nullptr;
    TformPrint* formPrint = nullptr;
    TformFXsettings* formFXsettings = nullptr;
    TformNewVersionMsg* formNewVersionMsg = nullptr;
    TformUpdateUpdater* formUpdateUpdater = nullptr;
    // The effect window's undo history and A/B comparison, made before the windows.
    EditHistory* editHistory = nullptr;

    // State of the main window's module that the other windows read or write.
    bool DeviceLinked = false;
    bool BootloaderMode = false;
    bool SkipStatusAfterLink = false;
    bool LoadingFromPedal = false;
    // True while an exchange with the pedal waits for its answer (PedalExchangeGuard).
    bool PedalExchangeRunning = false;
    QString FirmwareVersionText = QStringLiteral("0");
    QString AlgorithmVersionText;
    QString EffectNumberText;
    unsigned RequiredFirmware = 0;         // 13 once start-up is done
    unsigned RequiredAlgorithmNumber = 0;  // from the first effect list entry at start-up
    QString DeviceSerial;
    // Instrument range last chosen or reported: 255 Standard, 186 Low, 0 before either.
    std::uint8_t InstrumentRange = 0;
    bool ShowUpdateMsgAtStartup = true;
    bool ReportErrorsPreference = false;
    QString SelectedEffectName;
    QStringList AlgorithmImageText;
};
