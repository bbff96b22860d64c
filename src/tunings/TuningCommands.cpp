#include "tunings/TuningCommands.h"

#include <chrono>
#include <string>

#include "app/EditorContext.h"
#include "app/SendToPedal.h"
#include "app/SettingsFiles.h"
#include "effects/TformFXsettings.h"
#include "platform/Dialogs.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"

namespace {

constexpr std::chrono::milliseconds kPauseAfterTuning{100};

void Log(EditorContext& context, const QString& text) {
    if (context.ConsolePrint) context.ConsolePrint(text);
}

}  // namespace

bool WriteInstrumentFile(EditorContext& context, std::uint8_t range) {
    const QString word = range == varkunda::protocol::kInstrumentRangeLow
                             ? QStringLiteral("BASS")
                             : QStringLiteral("GUITAR");
    return SaveSettingFile(context, ProductFilePath(context.folders, settings::kInstrumentFile),
                           word);
}

void ChangeInstrument(EditorContext& context, std::uint8_t range) {
    const std::string text = varkunda::protocol::InstrumentRangeMessage(range);
    if (text.empty()) return;
    const std::uint8_t checksum = varkunda::protocol::XorChecksum(text, 7).value_or(0);
    Log(context, "checksum byte: " + QString::fromStdString(varkunda::protocol::HexByte(checksum)));
    if (context.dialogs.askYesNo("Change current Instrument?") == Dialogs::Answer::No) return;
    Log(context, QString::fromStdString(text));
    SendToPedal(context, text);
}

SendOutcome SendTuning(EditorContext& context, const TformFXsettings& effects) {
    const std::string text =
        varkunda::protocol::TuningMessage(effects.CurrentTuning, effects.SemitoneVariation);
    Log(context, "Tuning Message: " + QString::fromStdString(text));
    if (context.dialogs.askYesNo("Set new tuning?") == Dialogs::Answer::No)
        return SendOutcome::Declined;
    if (!SendToPedal(context, text, varkunda::link::PurgeFirst::Yes).ok())
        return SendOutcome::NotSent;
    PauseForPedal(context, kPauseAfterTuning);
    return SendOutcome::Sent;
}
