#pragma once

#include <QList>
#include <QMainWindow>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "app/ControlStateTable.h"
#include "app/StatusLine.h"

class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTimer;
class HttpClient;
struct EditorContext;
struct HttpResponse;

namespace varkunda::protocol {
struct StatusReply;
}
namespace varkunda::link {
struct LinkError;
struct LinkOpenResult;
}

// The editor's main window: the device link menus, the pedal identity labels, the
// six action buttons and the effect list. Its construction is the start-up sequence
// (FormCreate); every other window is created after it.
//
// The handlers of each subsystem are defined in that subsystem's own file:
// TformMainLink.cpp (scan, link, status, reply timer, effect list), effects/
// TformMainEffects.cpp and TformMainPresets.cpp, tunings/TformMainTunings.cpp,
// prefs/TformMainPrefs.cpp, firmware/TformMainUploads.cpp and
// TformMainFirmware.cpp, update/TformMainUpdate.cpp.
class TformMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TformMain(EditorContext& context, QWidget* parent = nullptr);
    ~TformMain() override;

    EditorContext& context() { return context_; }
    // Which controls are enabled in which state; nothing else enables them.
    ControlStateTable& controlStates() { return controlStates_; }

    // Sets the device-dependent controls, then the effect window's controls.
    void EnableUSBobjects(bool status);
    // Request, Save Parameters, Assign, Set Footswitch Mode and Set Tuning.
    void EnableMainButtons(bool enabled);

    // The start-up routines of the preference and resource module.
    void LoadStartupSettings();
    void FillEffectList();
    void BuildLookMenu();
    void BuildMIDIChannelMenu();

    // Ctrl+Shift+P (other modifiers not examined) shows the debug console and sets
    // Key to 0 to consume it.
    void FormKeyDown(int& Key, Qt::KeyboardModifiers Shift);

    // Silent scan at start-up: the serial numbers and description of the FTDI devices.
    void ReadDeviceIdentity();
    // Connection > Scan: lists the FTDI devices and offers to link each one in turn.
    void ScanForDevices();

    // Readers of the pedal's status reply that set the main window's menus.
    void ShowStoreBypassStatus(const varkunda::protocol::StatusReply& reply);
    void ShowMIDIChannel(const varkunda::protocol::StatusReply& reply);
    void ShowInstrumentRange(const varkunda::protocol::StatusReply& reply);

    // Asks the platform shell to open a web address in the default browser.
    void OpenURL(const QString& url);

    // Arms the one-shot version check (start-up step 10); nothing is requested yet.
    void PrepareWebVersionCheck();

    // Components, named as the window's designer named them.
    QLabel* lblDeviceName = nullptr;
    QLabel* lblFirmwareVersion = nullptr;
    QLabel* lblAlgorithmVersion = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* btnUpload = nullptr;
    QPushButton* btnRequest = nullptr;
    QPushButton* btnSaveParameters = nullptr;
    QPushButton* btnAssign = nullptr;
    QPushButton* btnSetFootswitchMode = nullptr;
    QPushButton* btnSetTuning = nullptr;
    QListWidget* lstEffects = nullptr;

    QTimer* Timer_USB_Read = nullptr;
    QTimer* UploadCheckTimer = nullptr;
    QTimer* TimerCheckWebVersion = nullptr;
    // The update server's requests (the editor's one HTTP client).
    HttpClient* NetHTTPClient1 = nullptr;
    // Filter of the open dialog for algorithm files.
    const QString OpenDialog1Filter = QStringLiteral("Dat files (*.dat)");
    // Where the open dialog for algorithm files starts: the folder of the last file chosen.
    QString OpenDialog1InitialDir;

    QMenu* menuFile = nullptr;
    QAction* menuLoadPreset = nullptr;
    QAction* menuSavePreset = nullptr;
    QAction* menuLoadAlgorithmFromFile = nullptr;
    // Undo, Redo, Keep as A and Compare A/B of the effect window's edits.
    QMenu* menuEdit = nullptr;
    QMenu* menuConnection = nullptr;
    QAction* menuScan = nullptr;
    QAction* menuConnect = nullptr;
    QAction* menuDisconnect = nullptr;
    QMenu* menuSettings = nullptr;
    QMenu* menuLook = nullptr;
    QMenu* menuMIDI = nullptr;
    QMenu* menuMIDIchannel = nullptr;
    QAction* menuUploadTuningsData = nullptr;
    // Check items that toggle their own mark when clicked.
    QAction* menuReportUSBErrors = nullptr;
    QMenu* menuInstrumentRange = nullptr;
    // Each of these two pairs is exclusive: a click checks the item and unchecks the
    // other one; code may leave both unchecked.
    QAction* menuStandard = nullptr;
    QAction* menuLow = nullptr;
    QMenu* menuBypassStatus = nullptr;
    QAction* menuStoreBypassStatus = nullptr;
    QAction* menuDoNotStoreBypassStatus = nullptr;
    QMenu* menuFirmwareUpgrade = nullptr;
    // Check item whose mark is set by its handler only (a click does not toggle it).
    QAction* menuFirmwareUpgradeMode = nullptr;
    QAction* menuStartFirmwareUpgrade = nullptr;
    QAction* menuEraseSettings = nullptr;
    QMenu* menuInfo = nullptr;
    QAction* menuSupport = nullptr;
    QAction* menuAppVersion = nullptr;
    QAction* menuNewAppVersion = nullptr;
    QAction* menuUpdateNow = nullptr;
    QAction* menuShowUpdateMsg = nullptr;
    QAction* menuSerialNumber = nullptr;

    // Built at start-up: the Look items "0".."6" and the MIDI channel items "OMNI",
    // "1".."16" (check marks set by code only; a click does not check them).
    QList<QAction*> LookItems;
    QList<QAction*> MIDIChannelItems;

    // The editor's version text, kept for the version check, and the server's, empty
    // until the server has answered the check with a version.
    QString CurrentAppVersionText;
    QString ServerAppVersionText;

public slots:
    // Preferences and looks.
    void menuLookClickItem(QObject* Sender);

    // Device link, status request and effect list.
    void menuScanClick();
    void ConnectOnClick();
    void Link();
    void menuDisconnectClick();
    // The linked pedal is gone (unplugged, or its port vanished): says so once and goes
    // to the unlinked state as Unlink does, so that Scan and Link find it again. Safe
    // inside an exchange: the handle is closed once the exchange has ended.
    void DeviceLost(const QString& reason);
    // A bridge was plugged in: with no pedal linked the device list is read again and
    // each device offered as Scan offers it; while linked or busy nothing happens.
    void DevicesArrived();
    // A bridge was pulled out: a linked pedal is asked at once, so a lost one goes
    // unlinked; otherwise the device label shows what is still there.
    void DevicesRemoved();
    void btnRequestClick();
    void RequestDeviceStatus();
    void Timer_USB_ReadTimer();
    void effetto_cliccato(QListWidgetItem* Item);
    // Key-down of the effect list; setting Key to 0 consumes the key.
    void move_up_or_down(int& Key, Qt::KeyboardModifiers Shift);
    // Loads the selected entry's image; false when none is selected or it cannot be loaded.
    bool GetResourceFile();
    void OpenEffectWindow();

    // Effect parameters, assignments, footswitch mode and presets.
    void btnSaveParametersClick();
    void btnAssignClick();
    void btnSetFootswitchModeClick();
    void menuLoadPresetClick();
    void menuSavePresetClick();

    // Instrument range, tuning and tuning data.
    void menuStandardClick();
    void menuLowClick();
    void btnSetTuningClick();
    void ChangeInstrument();
    void menuUploadTuningsDataClick();

    // Pedal-wide preferences.
    void menuMIDIchannelsClickItem(QObject* Sender);
    void menuStoreBypassStatusClick();
    void menuDoNotStoreBypassStatusClick();
    void ChangeStoreBypassStatus(bool store);
    void menuReportUSBErrorsClick();

    // Algorithm upload, firmware upgrade and erase.
    void btnUploadClick();
    void UploadCheckTimerTimer();
    void menuLoadAlgorithmFromFileClick();
    void menuFirmwareUpgradeModeClick();
    void menuStartFirmwareUpgradeClick();
    // The end of a firmware upgrade that went through: Upgrade Mode off, the read
    // timer running and the controls of a linked pedal back.
    void FirmwareUpgradeFinished();
    void menuEraseSettingsClick();

    // Update service and Info menu.
    void checkmostrecentversiononwebsite();
    void menuInfoClick();
    void menuSupportClick();
    void menuUpdateNowClick();
    void menuShowUpdateMsgClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How a status request ended.
    enum class StatusRequestEnd { Failed, FirmwareTooOld, AlgorithmTooOld, Accepted };
    StatusRequestEnd RunStatusRequest();
    void ShowStatusReply(const varkunda::protocol::StatusReply& reply);
    StatusRequestEnd StopForOldFirmware();
    StatusRequestEnd StopForOldAlgorithm(const QString& reason);
    StatusRequestEnd AcceptStatusReply(const varkunda::protocol::StatusReply& reply);
    // Selects the effect the pedal reports; false, with a message, when the number names
    // no entry of the list.
    bool SelectReportedEffect();
    void ShowAlgorithmUploadRequest(const QString& reason);
    void CloseEffectWindow();
    varkunda::link::LinkOpenResult OpenDeviceLink();
    void EnterBootloader();
    void ShowLinkFailure(const varkunda::link::LinkError& error);
    // What Scan does; a scan on a device's arrival shows no message when it finds none.
    enum class ScanCause { Menu, Arrival };
    void RunScan(ScanCause cause);
    // Writes the connection doctor's cause and fix to the console and returns them;
    // empty when there is no doctor or nothing to say.
    QString ReportConnectionCause();
    void GoUnlinked();
    bool WindowHoldsPedalValues() const;
    bool SendPedalMessage(const std::string& hexText);
    // Puts what a command sent on the status line; a declined command leaves it.
    void ShowSent(const QString& what, SendOutcome outcome);
    // One algorithm upload after the question: bypass and its pause, reports on, the
    // check timer, the message `prepareMessage` gives (nothing sent when it gives none)
    // and the bounded wait for the answer. True when the pedal answered.
    bool RunAlgorithmUpload(std::chrono::milliseconds bypassPause,
                            const std::function<std::optional<std::string>()>& prepareMessage,
                            bool logEachRead);
    // The selected effect's image as hex text, with the console lines that go with it.
    std::optional<std::string> SelectedAlgorithmMessage();
    // Completion of the version check's request.
    void WebRequestCompleted(const HttpResponse& AResponse);
    void ShowWebVersion(const QByteArray& body);

    void FormCreate();
    void createControls();
    void createMenus();
    void createTimers();
    void connectHandlers();
    void bindControls();

    EditorContext& context_;
    ControlStateTable controlStates_;
    // The effect window was set from a status reply of the pedal linked now; cleared when
    // a link starts or ends and when a reply is not applied to the window.
    bool pedalValuesRead_ = false;
    // A scan is asking its questions; an arrival meanwhile starts no second one.
    bool scanRunning_ = false;
    QActionGroup* instrumentRangeGroup_ = nullptr;
    QActionGroup* bypassStatusGroup_ = nullptr;
};
