// The commands that send: set, save, preset, midi, range, erase-settings.

#include <QFile>
#include <QSaveFile>

#include "cli/BuiltinAddresses.h"
#include "cli/Commands.h"
#include "cli/ParameterText.h"
#include "cli/PedalSession.h"
#include "link/EepromTools.h"
#include "protocol/Messages.h"
#include "protocol/PresetFile.h"

namespace varkunda::cli {

namespace {

constexpr int kHighestMidiChannel = 16;
// The tuning list: 0 "No Tuning Selected" to 8 "Bass Guitar"; semitones -5 to +3.
constexpr int kHighestTuning = 8;
constexpr int kLowestSemitone = -5;
constexpr int kHighestSemitone = 3;

std::optional<int> NumberIn(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < lowest || number > highest) return std::nullopt;
    return number;
}
const QString kSettingsEepromAddress = QStringLiteral("50");

// Sends one message to the linked pedal and ends the command.
int SendOne(CommandContext& context, const std::string& message,
            link::PurgeFirst purge = link::PurgeFirst::No) {
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    return session->Send(message, purge).value_or(exitstatus::kDone);
}

// The word the effect window sends for a value loaded from a preset: the value itself for
// a dial with a fraction; the dial's angle for one counted in steps; a switch or list entry
// as shown, and nothing when the window would leave it as it was.
std::optional<std::uint32_t> LoadedWord(std::size_t parameter, std::uint32_t value) {
    const protocol::ParameterInfo& info = protocol::kParameterInfo.at(parameter);
    switch (info.kind) {
        case protocol::ParameterKind::Dial:
            if (info.fullScale == protocol::kDialFullScale) return value;
            return protocol::DialAngleToValue(protocol::ValueToDialAngle(value, info.fullScale));
        case protocol::ParameterKind::PitchTable:
            if (!protocol::PitchTableIndex(value)) return std::nullopt;
            return value;
        default: {
            const auto on = protocol::DecodeSwitch(info.kind, value);
            if (!on) return std::nullopt;
            return protocol::EncodeSwitch(info.kind, *on);
        }
    }
}

std::optional<int> WritePreset(CommandContext& context, const QString& path,
                               const protocol::StatusReply& reply) {
    const std::string bytes = protocol::PresetFileBytes(reply.parameters);
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (written) return std::nullopt;
    return context.Fail(exitstatus::kBadInputFile,
                        QStringLiteral("Error saving file: %1: %2").arg(path, file.errorString()));
}

int PresetSave(CommandContext& context, const QString& path) {
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    const auto reply = session->RequestStatus(status);
    if (!reply) return status;
    return WritePreset(context, path, *reply).value_or(exitstatus::kDone);
}

int PresetLoad(CommandContext& context, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return context.Fail(
            exitstatus::kBadInputFile,
            QStringLiteral("Error loading file: %1: %2").arg(path, file.errorString()));
    const auto preset = protocol::ParsePresetFile(file.readAll().toStdString());
    if (!preset.ok())
        return context.Fail(exitstatus::kBadInputFile, QStringLiteral("Error loading file: ") +
                                                           QString::fromStdString(preset.error));
    QString error;
    const auto addresses = BuiltinParameterAddresses(error);
    if (!addresses) return context.Fail(exitstatus::kBadInputFile, error);
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    for (std::size_t i = 0; i < preset.values.size(); ++i) {
        const auto word = LoadedWord(i, preset.values[i].value);
        if (!word) continue;
        const auto address =
            (*addresses)[static_cast<std::size_t>(protocol::kParameterInfo[i].slot)];
        if (auto failed = session->Send(protocol::SetParameterMessage(address, *word)))
            return *failed;
    }
    return exitstatus::kDone;
}

}  // namespace

int SetCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(
            context, parser,
            {QStringLiteral("set"),
             QStringLiteral("Sets one parameter: VALUE as the window shows it (45, on, +7) or "
                            "raw:0xHHHHHHHH."),
             {QStringLiteral("NAME"), QStringLiteral("VALUE")}},
            arguments))
        return *end;
    const QString name = parser.positionalArguments().at(0);
    const auto parameter = ParameterIndexOf(name);
    if (!parameter)
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("unknown parameter \"%1\"").arg(name));
    const TypedValue typed = ParseParameterValue(*parameter, parser.positionalArguments().at(1));
    if (!typed.value) return context.Fail(exitstatus::kUsage, typed.error);
    QString error;
    const auto addresses = BuiltinParameterAddresses(error);
    if (!addresses) return context.Fail(exitstatus::kBadInputFile, error);
    const auto slot = static_cast<std::size_t>(protocol::kParameterInfo[*parameter].slot);
    return SendOne(context, protocol::SetParameterMessage((*addresses)[slot], *typed.value));
}

int SaveCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("save"),
                                 QStringLiteral("Stores the pedal's current parameters in the "
                                                "pedal (the Save Parameters message)."),
                                 {}},
                                arguments))
        return *end;
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    const auto reply = session->RequestStatus(status);
    if (!reply) return status;
    std::array<std::uint32_t, protocol::kAssignableParameterCount> values{};
    std::copy_n(reply->parameters.begin() + protocol::kFirstAssignableIndex, values.size(),
                values.begin());
    return session->Send(protocol::StoreParametersMessage(values), link::PurgeFirst::Yes)
        .value_or(exitstatus::kDone);
}

int PresetCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("preset"),
                                 QStringLiteral("save FILE: writes the pedal's parameters as a "
                                                "preset file. load FILE: sends a preset file's "
                                                "parameters to the pedal."),
                                 {QStringLiteral("save|load"), QStringLiteral("FILE")}},
                                arguments))
        return *end;
    const QString action = parser.positionalArguments().at(0);
    const QString path = parser.positionalArguments().at(1);
    if (action == QStringLiteral("save")) return PresetSave(context, path);
    if (action == QStringLiteral("load")) return PresetLoad(context, path);
    return context.Fail(exitstatus::kUsage,
                        QStringLiteral("preset: \"%1\" is neither save nor load").arg(action));
}

int MidiCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("midi"),
                                 QStringLiteral("Sets the MIDI channel: 1 to 16, or omni."),
                                 {QStringLiteral("CHANNEL")}},
                                arguments))
        return *end;
    const QString text = parser.positionalArguments().first();
    const bool omni = text.compare(QStringLiteral("omni"), Qt::CaseInsensitive) == 0;
    const auto channel = omni ? 0 : NumberIn(text, 0, kHighestMidiChannel);
    if (!channel)
        return context.Fail(
            exitstatus::kUsage,
            QStringLiteral("midi: \"%1\" is no MIDI channel: use 1 to 16 or omni").arg(text));
    return SendOne(context, protocol::MidiChannelMessage(static_cast<std::uint8_t>(*channel)));
}

int RangeCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("range"),
                                 QStringLiteral("Sets the instrument range: standard or low."),
                                 {QStringLiteral("standard|low")}},
                                arguments))
        return *end;
    const QString range = parser.positionalArguments().first();
    if (range == QStringLiteral("standard"))
        return SendOne(context,
                       protocol::InstrumentRangeMessage(protocol::kInstrumentRangeStandard));
    if (range == QStringLiteral("low"))
        return SendOne(context, protocol::InstrumentRangeMessage(protocol::kInstrumentRangeLow));
    return context.Fail(exitstatus::kUsage,
                        QStringLiteral("range: \"%1\" is neither standard nor low").arg(range));
}

int EraseSettingsCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption yes(
        QStringLiteral("yes"), QStringLiteral("Confirms the erase; nothing is erased without it."));
    const QCommandLineOption savePreset(
        QStringLiteral("save-preset"),
        QStringLiteral("Saves the pedal's parameters as a preset file first; nothing is erased "
                       "unless it was saved."),
        QStringLiteral("FILE"));
    parser.addOptions({yes, savePreset});
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("erase-settings"),
                                 QStringLiteral("Erases the settings the pedal keeps (its EEPROM "
                                                "at 50)."),
                                 {}},
                                arguments))
        return *end;
    if (!parser.isSet(yes))
        return context.Fail(
            exitstatus::kUsage,
            QStringLiteral("erase-settings: nothing was erased; confirm with --yes"));
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    if (parser.isSet(savePreset)) {
        const auto reply = session->RequestStatus(status);
        if (!reply) return status;
        if (auto failed = WritePreset(context, parser.value(savePreset), *reply)) return *failed;
    }
    const link::SendResult sent =
        link::EraseEeprom(session->transport(), kSettingsEepromAddress.toStdString());
    if (!sent.ok()) return session->Failure(exitstatus::kNoAnswer, *sent.error);
    return exitstatus::kDone;
}

}  // namespace varkunda::cli

namespace varkunda::cli {

int TuningCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("tuning"),
                                 QStringLiteral("Sets the tuning (0 none, 1 Standard .. 8 Bass "
                                                "Guitar, as the window lists them) and the "
                                                "semitone variation (-5 to +3)."),
                                 {QStringLiteral("N"), QStringLiteral("SEMITONES")}},
                                arguments))
        return *end;
    const auto tuning = NumberIn(parser.positionalArguments().at(0), 0, kHighestTuning);
    const auto semitones =
        NumberIn(parser.positionalArguments().at(1), kLowestSemitone, kHighestSemitone);
    if (!tuning || !semitones)
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("tuning: use a tuning from 0 to 8 and semitones from "
                                           "-5 to +3"));
    return SendOne(context,
                   protocol::TuningMessage(static_cast<std::uint8_t>(*tuning),
                                           static_cast<std::int8_t>(*semitones)),
                   link::PurgeFirst::Yes);
}

int FootswitchCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("footswitch"),
                                 QStringLiteral("Sets what a short and a long press do: bypass "
                                                "or preset (change preset)."),
                                 {QStringLiteral("SHORT"), QStringLiteral("LONG")}},
                                arguments))
        return *end;
    const QString shortPress = parser.positionalArguments().at(0);
    const QString longPress = parser.positionalArguments().at(1);
    const QStringList choices{QStringLiteral("bypass"), QStringLiteral("preset")};
    if (!choices.contains(shortPress) || !choices.contains(longPress))
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("footswitch: use bypass or preset for each press"));
    return SendOne(context, protocol::FootswitchMessage(shortPress == QStringLiteral("preset"),
                                                        longPress == QStringLiteral("bypass")));
}

}  // namespace varkunda::cli
