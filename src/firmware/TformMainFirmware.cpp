// The main window's firmware upgrade and settings erase.
#include <QDateTime>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "effects/PresetFiles.h"
#include "firmware/EraseSettingsTexts.h"
#include "platform/Dialogs.h"

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

void TformMain::menuFirmwareUpgradeModeClick() {}

void TformMain::menuStartFirmwareUpgradeClick() {}

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
