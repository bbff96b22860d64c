// The main window's preset files: File > Load Preset and Save Preset.
#include "app/EditorContext.h"
#include "app/PedalSendReport.h"
#include "app/TformMain.h"
#include "effects/EditHistory.h"
#include "effects/PresetFiles.h"
#include "effects/TformFXsettings.h"
#include "platform/Dialogs.h"

namespace {
const QString kFilter = QString::fromLatin1(presets::kFilter);
}  // namespace

// The file holds what the pedal holds, or nothing is written.
void TformMain::menuSavePresetClick() {
    if (!RequireLinkedPedal(context_, QStringLiteral("Saving a preset"))) return;
    const bool accepted = RunStatusRequest() == StatusRequestEnd::Accepted;
    const auto values =
        presets::ValuesReadFromPedal(context_, accepted, QStringLiteral("No preset was saved"));
    if (!values || !presets::MakeFolder(context_)) return;
    const QString name = context_.dialogs.saveFileName(
        QString::fromLatin1(presets::kSaveCaption), presets::FolderPath(context_.folders), kFilter);
    if (name.isEmpty()) return;
    presets::WriteFile(context_, presets::WithTxtExtension(name), *values);
}

// A file that is not a preset as a whole changes nothing; otherwise the values go to
// the pedal through the effect window, each changed control sending at once.
void TformMain::menuLoadPresetClick() {
    TformFXsettings* effects = context_.formFXsettings;
    if (!effects || !RequireLinkedPedal(context_, QStringLiteral("Loading a preset")) ||
        !presets::MakeFolder(context_))
        return;
    const QString name = context_.dialogs.openFileName(
        QString::fromLatin1(presets::kOpenCaption), presets::FolderPath(context_.folders), kFilter);
    if (name.isEmpty()) return;
    const auto values = presets::ReadFile(context_, name);
    if (!values) return;
    presets::LogLoadedValues(context_, *values);
    const EditedValues before = effects->CurrentValues();
    for (std::size_t i = 0; i < values->size(); ++i)
        effects->Parameters().value(i) = (*values)[i].value;
    effects->ApplyParametersToWindow(true);
    if (context_.editHistory)
        context_.editHistory->RecordPresetLoad(before, effects->CurrentValues());
}
