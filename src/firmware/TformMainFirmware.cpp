// The main window's firmware upgrade and settings erase.
#include <QDateTime>
#include <QTimer>

#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/SendToPedal.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "effects/PresetFiles.h"
#include "firmware/EraseSettingsTexts.h"
#include "firmware/TformFirmwareUpgrade.h"
#include "link/BootloaderEntry.h"
#include "platform/Dialogs.h"
#include "protocol/Messages.h"

namespace {

// The dated preset that lets the player bring the sound back after the erase.
bool SavePresetBeforeErase(EditorContext& context, bool requestAccepted) {
    const QString notErased = QStringLiteral("The settings were not erased");
    const auto values = presets::ValuesReadFromPedal(context, requestAccepted, notErased);
    if (!values) return false;
    const bool saved =
        presets::MakeFolder(context) &&
        presets::WriteFile(context,
                           presets::DatedFilePath(context.folders, QDateTime::currentDateTime()),
                           *values);
    if (!saved) context.dialogs.showMessage(notErased + QStringLiteral("."));
    return saved;
}

}  // namespace

// Unticking only unticks: the pedal is not sent into a bootloader the editor would then
// ignore. Without a linked pedal on firmware 9 or newer the tick arms the legacy way:
// the next link connects to the bootloader.
void TformMain::menuFirmwareUpgradeModeClick() {
    if (menuFirmwareUpgradeMode->isChecked()) {
        menuFirmwareUpgradeMode->setChecked(false);
        context_.BootloaderMode = false;
        return;
    }
    menuFirmwareUpgradeMode->setChecked(true);
    context_.BootloaderMode = true;
    if (context_.FirmwareVersionText.toUInt() <
            varkunda::link::kFirstFirmwareWithBootloaderMessage ||
        !context_.DeviceLinked) {
        context_.SkipStatusAfterLink = true;
        return;
    }
    EnterBootloader();
}

// The running firmware is asked into its bootloader, which must then answer the
// handshake.
void TformMain::EnterBootloader() {
    PedalExchangeGuard guard(context_);
    const bool readTimerWasOn = Timer_USB_Read->isActive();
    Timer_USB_Read->stop();
    SendToPedal(context_, varkunda::protocol::BypassMessage(true));
    if (context_.dialogs.askYesNo(QStringLiteral(
            "To enter Firmware Upgrade Mode keep SHIFT button on the pedal pressed while "
            "clicking YES.")) == Dialogs::Answer::No) {
        context_.BootloaderMode = false;
        menuFirmwareUpgradeMode->setChecked(false);
        if (readTimerWasOn) Timer_USB_Read->start();
        return;
    }
    varkunda::link::BootloaderClient client(*context_.transport);
    if (varkunda::link::EnterBootloader(client, *context_.transport)) {
        context_.dialogs.showMessage(QStringLiteral("Connection to bootloader failed"));
    } else {
        context_.dialogs.showMessage(
            QStringLiteral("Connection to bootloader succeeded. Release SHIFT button and go to "
                           "Upgrade Firmware menu and click Start Firmware Upgrade."));
        controlStates_.enter(EditorState::BootloaderConnected);
    }
    if (readTimerWasOn && context_.DeviceLinked) Timer_USB_Read->start();
}

// The read timer would take the bootloader's answers away from the run.
void TformMain::menuStartFirmwareUpgradeClick() {
    Timer_USB_Read->stop();
    if (context_.formFirmwareUpgrade) context_.formFirmwareUpgrade->show();
}

// The reply reader still reads without pauses for this request; Upgrade Mode ends after.
void TformMain::FirmwareUpgradeFinished() {
    RequestDeviceStatus();
    if (context_.DeviceLinked) Timer_USB_Read->start();
    menuFirmwareUpgradeMode->setChecked(false);
    controlStates_.enter(EditorState::UpgradeFinished);
    context_.BootloaderMode = false;
}

// Still one question; with its box ticked the pedal's current parameters are first
// saved as a dated preset, and nothing is erased unless they were.
void TformMain::menuEraseSettingsClick() {
    bool savePresetFirst = true;
    if (context_.dialogs.askYesNoWithCheckBox(erasetexts::Warning(), erasetexts::SavePresetFirst(),
                                              savePresetFirst) == Dialogs::Answer::No)
        return;
    if (savePresetFirst &&
        !SavePresetBeforeErase(context_, RunStatusRequest() == StatusRequestEnd::Accepted))
        return;
    if (context_.formPrint) context_.formPrint->EraseEEPROM(QStringLiteral("50"));
}
