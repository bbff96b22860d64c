// The main window's device link: finding, linking and unlinking the pedal, the status
// request, the reply timer and the effect list.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

#include "app/BuiltinResources.h"
#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/TformMain.h"
#include "effects/EditHistory.h"
#include "effects/TformFXsettings.h"
#include "frontend/LinkErrorText.h"
#include "link/D2xxAccess.h"
#include "link/DeviceLink.h"
#include "link/StatusRequest.h"
#include "link/Transport.h"
#include "platform/Dialogs.h"
#include "protocol/StatusReply.h"

namespace {
// What Link appends to the device's description, and Unlink takes off again.
const QString kLinkedSuffix = QStringLiteral(" linked");
const QString kNoDeviceFound = QStringLiteral("No device found");
const QString kDeviceLostMessage = QStringLiteral(
    "The Varkunda TZ5 was disconnected. Plug it in again and choose Connection > Scan.");
constexpr int kBytesOfImageShown = 256;  // characters of the image logged on loading

QString Text(const std::string& eightBit) { return QString::fromLatin1(eightBit); }

QString AlgorithmUploadMessage(unsigned requiredAlgorithm) {
    return QStringLiteral(
               "Upload the latest version of Varkunda TZ5 algorithm:\r\n"
               "Upload Varkunda TZ5 00") +
           QString::number(requiredAlgorithm);
}
}  // namespace

// ---- Discovery, link and unlink ----

// A list call that failed leaves its text empty, never the text of another device.
void TformMain::ReadDeviceIdentity() {
    for (const auto& found : varkunda::link::ListDevices(context_.device)) {
        const QString serial = Text(found.serial);
        menuSerialNumber->setText(menuSerialNumber->text() + serial);
        context_.DeviceSerial = serial;
        lblDeviceName->setText(Text(found.description));
    }
}

void TformMain::menuScanClick() { ScanForDevices(); }

void TformMain::ScanForDevices() { RunScan(ScanCause::Menu); }

void TformMain::RunScan(ScanCause cause) {
    const QScopedValueRollback<bool> scanning(scanRunning_, true);
    lblDeviceName->setText(QStringLiteral("Device Name"));
    const auto devices = varkunda::link::ListDevices(context_.device);
    context_.ConsolePrint(QStringLiteral("FT device count: ") + QString::number(devices.size()));
    if (devices.empty()) {
        const QString why = ReportConnectionCause();
        if (cause == ScanCause::Menu)
            context_.dialogs.showMessage(
                why.isEmpty() ? kNoDeviceFound : kNoDeviceFound + QStringLiteral("\r\n") + why);
        lblDeviceName->setText(kNoDeviceFound);
        controlStates_.enter(EditorState::NoDevice);
        return;
    }
    for (const auto& found : devices) {
        context_.ConsolePrint(QStringLiteral("FT_Device_String: ") + Text(found.serial));
        context_.DeviceSerial = Text(found.serial);
        const QString description = Text(found.description);
        lblDeviceName->setText(description);
        const auto answer =
            context_.dialogs.askYesNo(description + QStringLiteral(" found, link the device now?"));
        if (answer == Dialogs::Answer::Yes)
            Link();
        else
            controlStates_.enter(EditorState::DeviceFound);
    }
}

QString TformMain::ReportConnectionCause() {
    if (!context_.DiagnoseConnection) return {};
    const QString why = context_.DiagnoseConnection();
    if (!why.isEmpty()) context_.ConsolePrint(QStringLiteral("Connection doctor: ") + why);
    return why;
}

// An arrival while a scan asks, an exchange runs or another window waits for an answer
// is left alone: Scan finds the device later.
void TformMain::DevicesArrived() {
    if (context_.DeviceLinked || scanRunning_ || controlStates_.exchangeRunning() ||
        QApplication::activeModalWidget())
        return;
    RunScan(ScanCause::Arrival);
}

void TformMain::DevicesRemoved() {
    if (scanRunning_ || controlStates_.exchangeRunning()) return;
    if (context_.DeviceLinked) {
        context_.transport->PollDeviceInput();
        return;
    }
    const auto devices = varkunda::link::ListDevices(context_.device);
    if (devices.empty()) {
        lblDeviceName->setText(kNoDeviceFound);
        controlStates_.enter(EditorState::NoDevice);
        return;
    }
    context_.DeviceSerial = Text(devices.back().serial);
    lblDeviceName->setText(Text(devices.back().description));
}

void TformMain::ConnectOnClick() { Link(); }

void TformMain::Link() {
    // Linking a second device (a Yes to each of the scan's offers) lets go of the first
    // once the second is open, so no device is left open behind the editor's back.
    const bool relink = context_.DeviceLinked;
    const varkunda::link::FtHandle previous = context_.device.DeviceHandle;
    const varkunda::link::LinkOpenResult opened = OpenDeviceLink();
    if (!opened.opened()) {
        context_.ConsolePrint(QStringLiteral("Link failed: the device could not be opened"));
        return;
    }
    if (relink && previous != context_.device.DeviceHandle)
        context_.device.driver().close(previous);
    context_.DeviceLinked = true;
    pedalValuesRead_ = false;
    // Edits and A kept for the pedal linked before are not this one's.
    if (context_.editHistory) context_.editHistory->Forget();
    controlStates_.enter(EditorState::Linked);
    // A pedal in its bootloader takes nothing but the upgrade.
    if (context_.BootloaderMode && opened.bootloaderConnected())
        controlStates_.enter(EditorState::BootloaderConnected);
    Timer_USB_Read->start();
    if (!context_.SkipStatusAfterLink) RequestDeviceStatus();
}

varkunda::link::LinkOpenResult TformMain::OpenDeviceLink() {
    const auto result = varkunda::link::OpenDeviceLink(
        *context_.transport, context_.DeviceSerial.toLatin1().toStdString(),
        context_.BootloaderMode);
    if (result.opened())
        lblDeviceName->setText(lblDeviceName->text() + kLinkedSuffix);
    else
        ShowLinkFailure(*result.error);
    if (context_.BootloaderMode) {
        if (result.bootloaderConnected()) {
            context_.dialogs.showMessage(
                QStringLiteral("Connection to bootloader succeeded, ready for firmware upgrade"));
        } else {
            context_.dialogs.showMessage(QStringLiteral("Connection to bootloader failed"));
        }
    }
    return result;
}

// The failed call itself has been reported by the access layer (a denied port even with
// reports off); a line opened but left unset was closed again, which only this says.
void TformMain::ShowLinkFailure(const varkunda::link::LinkError& error) {
    const QString text = LinkErrorText(error);
    context_.ConsolePrint(text);
    if (error.kind == varkunda::link::LinkErrorKind::LineSettingsFailed)
        context_.dialogs.showMessage(text);
    else
        ReportConnectionCause();
}

void TformMain::menuDisconnectClick() {
    if (context_.device.CloseDevice() != varkunda::link::ft::OK) return;
    GoUnlinked();
}

// The label shows the description again, exactly as before Link added to it.
void TformMain::GoUnlinked() {
    QString name = lblDeviceName->text();
    if (name.endsWith(kLinkedSuffix)) name.chop(kLinkedSuffix.size());
    lblDeviceName->setText(name);
    pedalValuesRead_ = false;
    if (context_.formFXsettings) context_.formFXsettings->ForgetPedalValues();
    controlStates_.enter(EditorState::Unlinked);
    context_.DeviceLinked = false;
    Timer_USB_Read->stop();
    UploadCheckTimer->stop();
}

// The driver's status on a device that is gone tells nothing new, so the handle is
// closed without a report; a pedal lost inside an exchange is let go of once the
// exchange has ended, so the link layer never works on a handle closed under it.
void TformMain::DeviceLost(const QString& reason) {
    if (!context_.DeviceLinked) return;
    context_.ConsolePrint(QStringLiteral("The Varkunda TZ5 was disconnected: ") + reason);
    const varkunda::link::FtHandle lost = context_.device.DeviceHandle;
    GoUnlinked();
    controlStates_.whenNoExchange([this, lost] { context_.device.driver().close(lost); });
    context_.dialogs.showMessage(kDeviceLostMessage);
}

// ---- Reply timer ----

void TformMain::Timer_USB_ReadTimer() { context_.transport->PollDeviceInput(); }

// ---- Status request ----

// A request that fails leaves the window as it was; LoadingFromPedal then gets back the
// value it had before the click, so the effect window sends the user's changes again.
void TformMain::btnRequestClick() {
    const bool loadingBefore = context_.LoadingFromPedal;
    context_.LoadingFromPedal = true;
    if (RunStatusRequest() == StatusRequestEnd::Failed) context_.LoadingFromPedal = loadingBefore;
}

void TformMain::RequestDeviceStatus() { RunStatusRequest(); }

TformMain::StatusRequestEnd TformMain::RunStatusRequest() {
    Timer_USB_Read->stop();
    const bool linkedBefore = context_.DeviceLinked;
    varkunda::link::StatusOutcome outcome;
    {
        PedalExchangeGuard guard(context_);
        outcome = varkunda::link::RequestStatus(*context_.transport);
    }
    // A pedal lost meanwhile has had its one message; nothing of a reply is shown.
    if (linkedBefore && !context_.DeviceLinked) {
        context_.ConsolePrint(outcome.ok() ? QStringLiteral("The status reply came from a pedal "
                                                            "that is no longer linked.")
                                           : LinkErrorText(*outcome.error));
        return StatusRequestEnd::Failed;
    }
    if (!outcome.ok()) {
        const QString message = LinkErrorText(*outcome.error);
        context_.ConsolePrint(message);
        context_.dialogs.showMessage(message);
        // The reply timer goes on taking in what a linked pedal sends unasked.
        if (context_.DeviceLinked) Timer_USB_Read->start();
        return StatusRequestEnd::Failed;
    }
    const varkunda::protocol::StatusReply& reply = *outcome.reply;
    ShowStatusReply(reply);
    pedalValuesRead_ = false;  // the window holds this reply's values only once it is set

    if (context_.FirmwareVersionText.toUInt() < context_.RequiredFirmware)
        return StopForOldFirmware();
    controlStates_.enter(EditorState::Linked);
    const auto algorithm =
        varkunda::protocol::ParseDecimalDigits(context_.AlgorithmVersionText.toStdString());
    if (!algorithm)
        return StopForOldAlgorithm(QStringLiteral("The pedal's algorithm version \"%1\" is not a "
                                                  "version number this editor can read.")
                                       .arg(context_.AlgorithmVersionText));
    if (*algorithm < context_.RequiredAlgorithmNumber) return StopForOldAlgorithm(QString());
    return AcceptStatusReply(reply);
}

void TformMain::ShowStatusReply(const varkunda::protocol::StatusReply& reply) {
    context_.FirmwareVersionText = Text(reply.FirmwareVersionText());
    lblFirmwareVersion->setText(QStringLiteral("Device Firmware: ") + context_.FirmwareVersionText);
    context_.ConsolePrint(QStringLiteral("Firmware Version: ") + context_.FirmwareVersionText);
    context_.AlgorithmVersionText = Text(reply.AlgorithmVersionText());
    context_.ConsolePrint(QStringLiteral("Algorithm version: ") + context_.AlgorithmVersionText);
    lblAlgorithmVersion->setText(QStringLiteral("Device Algorithm: ") +
                                 context_.AlgorithmVersionText);
    context_.ConsolePrint(QStringLiteral("Current device firmware: ") +
                          context_.FirmwareVersionText);
    context_.ConsolePrint(QStringLiteral("Most recent firmware: ") +
                          QString::number(context_.RequiredFirmware));
    context_.EffectNumberText = Text(reply.EffectNumberText());
    context_.ConsolePrint(QStringLiteral("Effect Number: ") + context_.EffectNumberText);
}

TformMain::StatusRequestEnd TformMain::StopForOldFirmware() {
    CloseEffectWindow();
    context_.dialogs.showMessage(
        QStringLiteral("A firmware upgrade is required. Upgrade to Firmware ") +
        QString::number(context_.RequiredFirmware));
    context_.dialogs.showMessage(QStringLiteral(
        "If current firmware is below 9 follow legacy firmware upgrade mode:\r\n"
        "1) close editor application and disconnect pedal from USB\r\n"
        "2) hold shift button while connecting pedal to USB\r\n"
        "3) start application, check Firmware Upgrade Mode in Firmware Upgrade menu\r\n"
        "4) clink Link under Connection menu\r\n"
        "5) go to Firmware Upgrade menu again and select Firmware Upgrade\r\n"
        "\r\n"
        "If current firmware is 9 or above go to Firmware Upgrade menu and follow "
        "instructions."));
    controlStates_.enter(EditorState::FirmwareTooOld);
    return StatusRequestEnd::FirmwareTooOld;
}

// The effect the pedal reports is selected and loaded, so the new algorithm can be
// uploaded at once; the reply timer stays off.
TformMain::StatusRequestEnd TformMain::StopForOldAlgorithm(const QString& reason) {
    CloseEffectWindow();
    ShowAlgorithmUploadRequest(reason);
    if (SelectReportedEffect()) GetResourceFile();
    controlStates_.enter(EditorState::AlgorithmTooOld);
    return StatusRequestEnd::AlgorithmTooOld;
}

// An effect number that names no entry, or one whose image cannot be loaded, selects
// nothing: the pedal's effect-independent settings are still shown, but the effect
// window is neither opened nor set from values of an effect the editor does not know.
TformMain::StatusRequestEnd TformMain::AcceptStatusReply(
    const varkunda::protocol::StatusReply& reply) {
    TformFXsettings* effects = context_.formFXsettings;
    if (SelectReportedEffect() && GetResourceFile() && effects) {
        if (!effects->isVisible()) OpenEffectWindow();
        effects->getFootswitchMode(reply);
        effects->getTuning(reply);
        effects->getAssignments(reply);
        effects->getBypassStatus(reply);
        ShowStoreBypassStatus(reply);
        ShowInstrumentRange(reply);
        ShowMIDIChannel(reply);
        effects->getParameters(reply);
        pedalValuesRead_ = true;
    } else {
        CloseEffectWindow();
        ShowStoreBypassStatus(reply);
        ShowInstrumentRange(reply);
        ShowMIDIChannel(reply);
    }
    controlStates_.enter(EditorState::Linked);
    context_.LoadingFromPedal = false;
    Timer_USB_Read->start();
    return StatusRequestEnd::Accepted;
}

bool TformMain::SelectReportedEffect() {
    const auto index =
        varkunda::protocol::ParseDecimalDigits(context_.EffectNumberText.toStdString());
    if (index && *index < static_cast<unsigned>(lstEffects->count())) {
        lstEffects->setCurrentRow(static_cast<int>(*index));
        return true;
    }
    lstEffects->setCurrentRow(-1);
    lstEffects->clearSelection();
    const QString message =
        QStringLiteral(
            "The pedal reports effect number %1, which is not in the effect list: "
            "no effect was selected.")
            .arg(context_.EffectNumberText);
    context_.ConsolePrint(message);
    context_.dialogs.showMessage(message);
    return false;
}

void TformMain::ShowAlgorithmUploadRequest(const QString& reason) {
    const QString request = AlgorithmUploadMessage(context_.RequiredAlgorithmNumber);
    context_.dialogs.showMessage(reason.isEmpty() ? request
                                                  : reason + QStringLiteral("\r\n") + request);
}

// The window closes when the pedal's reply is not applied to it, so what it holds is
// not the pedal's.
void TformMain::CloseEffectWindow() {
    if (!context_.formFXsettings) return;
    context_.formFXsettings->ForgetPedalValues();
    if (context_.formFXsettings->isVisible()) context_.formFXsettings->close();
}

// ---- Effect list ----

bool TformMain::GetResourceFile() {
    const int index = lstEffects->currentRow();
    context_.ConsolePrint(QStringLiteral("efx index :") + QString::number(index));
    if (index < 0) {
        context_.ConsolePrint(QStringLiteral("No effect is selected: nothing was loaded."));
        return false;
    }
    context_.SelectedEffectName = lstEffects->item(index)->text();
    context_.ConsolePrint(QStringLiteral("selected effect name: ") + context_.SelectedEffectName);
    const QString resourceName = ResourceNameOf(context_.SelectedEffectName);
    context_.ConsolePrint(QStringLiteral("resource name: ") + resourceName);
    if (!LoadResourceLines(context_, resourceName)) return false;
    const QString image =
        context_.AlgorithmImageText.isEmpty() ? QString() : context_.AlgorithmImageText.first();
    context_.ConsolePrint(QStringLiteral("filecontent (first 128 bytes): ") +
                          image.left(kBytesOfImageShown));
    return true;
}

// The algorithm check needs the version of the last status reply; before the first
// reply it is not known yet and the window opens as it does without a pedal. An entry
// whose image cannot be loaded opens nothing: the window would show this name over the
// parameter addresses of the effect loaded before.
void TformMain::effetto_cliccato(QListWidgetItem*) {
    if (!GetResourceFile()) return;
    if (!context_.DeviceLinked || context_.AlgorithmVersionText.isEmpty()) {
        OpenEffectWindow();
        return;
    }
    const auto algorithm =
        varkunda::protocol::ParseDecimalDigits(context_.AlgorithmVersionText.toStdString());
    if (algorithm && *algorithm >= context_.RequiredAlgorithmNumber) {
        OpenEffectWindow();
        return;
    }
    CloseEffectWindow();
    ShowAlgorithmUploadRequest(
        algorithm ? QString()
                  : QStringLiteral("The pedal's algorithm version \"%1\" is not a version number "
                                   "this editor can read.")
                        .arg(context_.AlgorithmVersionText));
    EnableMainButtons(false);
}

// Moves the selection without loading the effect.
void TformMain::move_up_or_down(int& Key, Qt::KeyboardModifiers) {
    const int index = lstEffects->currentRow();
    if (Key == Qt::Key_Up) {
        context_.ConsolePrint(QStringLiteral("arrow up pressed"));
        if (index > 0) lstEffects->setCurrentRow(index - 1);
        Key = 0;
    } else if (Key == Qt::Key_Down) {
        context_.ConsolePrint(QStringLiteral("arrow down pressed"));
        if (index < lstEffects->count() - 1) lstEffects->setCurrentRow(index + 1);
        Key = 0;
    }
}

void TformMain::OpenEffectWindow() {
    TformFXsettings* window = context_.formFXsettings;
    if (!window) return;
    if (window->isVisible()) window->close();
    const QRect frame = frameGeometry();
    window->move(frame.left() + frame.width(), frame.top());
    window->show();
    window->setWindowTitle(context_.SelectedEffectName);
    window->EnableWindowControls(context_.DeviceLinked);
}
