#include "effects/EffectCommands.h"

#include <QString>
#include <chrono>
#include <string>

#include "app/EditorContext.h"
#include "app/SendToPedal.h"
#include "effects/TformFXsettings.h"
#include "platform/Dialogs.h"
#include "protocol/Messages.h"

namespace {

using varkunda::link::PurgeFirst;

constexpr std::chrono::milliseconds kPauseAfterWrite{100};

void Log(EditorContext& context, const QString& text) {
    if (context.ConsolePrint) context.ConsolePrint(text);
}

}  // namespace

SendOutcome SaveParametersToPedal(EditorContext& context, const TformFXsettings& effects) {
    const std::string text =
        varkunda::protocol::StoreParametersMessage(effects.Parameters().assignableValues());
    Log(context, "Store settings message (HEX): " + QString::fromStdString(text));
    Log(context, QString::number(text.size() / 2));
    if (context.dialogs.askYesNo("Save Parameters to pedal?") == Dialogs::Answer::No)
        return SendOutcome::Declined;
    if (!SendToPedal(context, text, PurgeFirst::Yes).ok()) return SendOutcome::NotSent;
    PauseForPedal(context, kPauseAfterWrite);
    return SendOutcome::Sent;
}

SendOutcome UploadAssignments(EditorContext& context, TformFXsettings& effects,
                              const std::function<void(bool)>& setAssignEnabled) {
    const std::string text = effects.BuildAssignMessage().toStdString();
    if (context.dialogs.askYesNo("Upload Assignments?") == Dialogs::Answer::No)
        return SendOutcome::Declined;
    if (!SendToPedal(context, text).ok()) return SendOutcome::NotSent;
    if (setAssignEnabled) setAssignEnabled(false);
    PauseForPedal(context, kPauseAfterWrite);
    if (setAssignEnabled) setAssignEnabled(true);
    return SendOutcome::Sent;
}

SendOutcome SendFootswitchMode(EditorContext& context, TformFXsettings& effects) {
    const QString text = effects.BuildFootswitchMessage();
    Log(context, text);
    return SendToPedal(context, text.toStdString()).ok() ? SendOutcome::Sent : SendOutcome::NotSent;
}
