#include "effects/EffectCommands.h"

#include <QString>
#include <string>

#include "app/EditorContext.h"
#include "effects/TformFXsettings.h"
#include "link/D2xxAccess.h"
#include "platform/Dialogs.h"
#include "protocol/Messages.h"

namespace {

constexpr int kPauseAfterWriteMs = 100;

void Log(EditorContext& context, const QString& text) {
    if (context.ConsolePrint) context.ConsolePrint(text);
}

void Pause(EditorContext& context, int milliseconds) {
    if (context.Sleep) context.Sleep(milliseconds);
}

std::uint32_t Write(EditorContext& context, const std::string& text) {
    context.device.ConvertToOutBuffer(text);
    return context.device.WriteDeviceBuffer(static_cast<std::uint32_t>(text.size() / 2));
}

}  // namespace

void SaveParametersToPedal(EditorContext& context, const TformFXsettings& effects) {
    const std::string text =
        varkunda::protocol::StoreParametersMessage(effects.Parameters().assignableValues());
    Log(context, "Store settings message (HEX): " + QString::fromStdString(text));
    Log(context, QString::number(text.size() / 2));
    if (context.dialogs.askYesNo("Save Parameters to pedal?") == Dialogs::Answer::No) return;
    context.device.PurgeDeviceTX();
    Write(context, text);
    Pause(context, kPauseAfterWriteMs);
}

void UploadAssignments(EditorContext& context, TformFXsettings& effects,
                       const std::function<void(bool)>& setAssignEnabled) {
    const std::string text = effects.BuildAssignMessage().toStdString();
    if (context.dialogs.askYesNo("Upload Assignments?") == Dialogs::Answer::No) return;
    Write(context, text);
    if (setAssignEnabled) setAssignEnabled(false);
    Pause(context, kPauseAfterWriteMs);
    if (setAssignEnabled) setAssignEnabled(true);
}

void SendFootswitchMode(EditorContext& context, TformFXsettings& effects) {
    const QString text = effects.BuildFootswitchMessage();
    Log(context, text);
    Write(context, text.toStdString());
}
