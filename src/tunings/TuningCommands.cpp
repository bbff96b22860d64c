#include "tunings/TuningCommands.h"

#include <QDir>
#include <QSaveFile>
#include <string>

#include "app/EditorContext.h"
#include "effects/TformFXsettings.h"
#include "link/D2xxAccess.h"
#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"

namespace {

constexpr int kPauseAfterTuningMs = 100;

void Log(EditorContext& context, const QString& text) {
    if (context.ConsolePrint) context.ConsolePrint(text);
}

void Write(EditorContext& context, const std::string& text) {
    context.device.ConvertToOutBuffer(text);
    context.device.WriteDeviceBuffer(static_cast<std::uint32_t>(text.size() / 2));
}

}  // namespace

bool WriteInstrumentFile(EditorContext& context, std::uint8_t range) {
    const QString folder = QDir(context.folders.documents()).filePath("KAVRO/Varkunda TZ5");
    const QString path = QDir(folder).filePath("Instrument.txt");
    const QByteArray content = range == kLowRange ? "BASS" : "GUITAR";
    QSaveFile file(path);
    const bool written = QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) &&
                         file.write(content) == content.size() && file.commit();
    if (!written)
        context.dialogs.showMessage("Error writing file: " + QDir::toNativeSeparators(path) +
                                    (file.errorString().isEmpty() ? "" : ": " + file.errorString()));
    return written;
}

void ChangeInstrument(EditorContext& context, std::uint8_t range) {
    const std::string text = varkunda::protocol::InstrumentRangeMessage(range);
    if (text.empty()) return;
    const std::uint8_t checksum = varkunda::protocol::XorChecksum(text, 7).value_or(0);
    Log(context, "checksum byte: " + QString::fromStdString(varkunda::protocol::HexByte(checksum)));
    if (context.dialogs.askYesNo("Change current Instrument?") == Dialogs::Answer::No) return;
    Log(context, QString::fromStdString(text));
    Write(context, text);
}

void SendTuning(EditorContext& context, const TformFXsettings& effects) {
    const std::string text =
        varkunda::protocol::TuningMessage(effects.CurrentTuning, effects.SemitoneVariation);
    Log(context, "Tuning Message: " + QString::fromStdString(text));
    if (context.dialogs.askYesNo("Set new tuning?") == Dialogs::Answer::No) return;
    context.device.PurgeDeviceTX();
    Write(context, text);
    if (context.Sleep) context.Sleep(kPauseAfterTuningMs);
}
