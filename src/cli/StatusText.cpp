#include "cli/StatusText.h"

#include <QJsonArray>
#include <array>

#include "cli/ParameterText.h"
#include "protocol/Messages.h"

namespace varkunda::cli {

namespace {

constexpr std::array<const char*, 5> kControlNames = {"Control I", "Control II", "Control III",
                                                      "Control IV", "Remote"};
constexpr std::uint8_t kMidiOmniHigh = 255;

QString Hex4(std::uint16_t field) {
    return QStringLiteral("0x%1")
        .arg(field, 4, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

// What an assignment field stands for: a parameter by its address, or a remote function.
QString AssignmentText(std::uint16_t field,
                       const std::optional<protocol::AddressTable>& addresses) {
    if (field == protocol::kNotAssigned) return QStringLiteral("not assigned");
    if (field == protocol::kRemoteBypass) return QStringLiteral("bypass");
    if (field == protocol::kRemotePresetChange) return QStringLiteral("preset change");
    if (addresses)
        for (const auto& info : protocol::kParameterInfo)
            if ((*addresses)[static_cast<std::size_t>(info.slot)] == field)
                return QLatin1String(info.name);
    return QStringLiteral("address ") + Hex4(field);
}

QString RangeText(std::uint8_t range) {
    if (range == protocol::kInstrumentRangeStandard) return QStringLiteral("standard");
    if (range == protocol::kInstrumentRangeLow) return QStringLiteral("low");
    return QStringLiteral("unknown (%1)").arg(range);
}

QString MidiText(std::uint8_t channel) {
    if (channel == 0 || channel == kMidiOmniHigh) return QStringLiteral("OMNI");
    return QString::number(channel);
}

QString FootswitchText(std::uint8_t mode) {
    const auto choice = protocol::DecodeFootswitchMode(mode);
    if (!choice) return QStringLiteral("unknown mode %1").arg(mode);
    return QStringLiteral("short press %1, long press %2")
        .arg(choice->shortPressChangesPreset ? QStringLiteral("changes preset")
                                             : QStringLiteral("bypass"),
             choice->longPressBypasses ? QStringLiteral("bypass")
                                       : QStringLiteral("changes preset"));
}

QString OnOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

QString SignedText(int number) {
    return number > 0 ? QStringLiteral("+%1").arg(number) : QString::number(number);
}

}  // namespace

QString RawText(std::uint32_t value) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

QJsonObject ParameterJson(std::size_t parameter, std::uint32_t value) {
    return {{QStringLiteral("name"), QLatin1String(protocol::kParameterInfo.at(parameter).name)},
            {QStringLiteral("raw"), RawText(value)},
            {QStringLiteral("shown"), ShownValue(parameter, value)}};
}

QStringList StatusLines(const protocol::StatusReply& reply, const QString& serial,
                        const std::optional<protocol::AddressTable>& addresses) {
    QStringList lines{
        QStringLiteral("Serial: ") + serial,
        QStringLiteral("Firmware: ") + QString::fromStdString(reply.FirmwareVersionText()),
        QStringLiteral("Algorithm: ") + QString::fromStdString(reply.AlgorithmVersionText()),
        QStringLiteral("Effect: ") + QString::fromStdString(reply.EffectNumberText()),
        QStringLiteral("Parameters:")};
    for (std::size_t i = 0; i < reply.parameters.size(); ++i)
        lines << QStringLiteral("  %1 %2  %3")
                     .arg(QLatin1String(protocol::kParameterInfo[i].name), -21)
                     .arg(RawText(reply.parameters[i]), ShownValue(i, reply.parameters[i]));
    lines << QStringLiteral("Assignments:");
    for (std::size_t c = 0; c < kControlNames.size(); ++c)
        lines << QStringLiteral("  %1 %2 (flag %3)")
                     .arg(QLatin1String(kControlNames[c]) + QLatin1Char(':'), -13)
                     .arg(AssignmentText(reply.assignmentFields[c], addresses))
                     .arg(reply.assignmentFlags[c]);
    lines << QStringLiteral("Footswitch: ") + FootswitchText(reply.footswitchMode)
          << QStringLiteral("Tuning: %1, semitones %2")
                 .arg(reply.tuning)
                 .arg(SignedText(reply.semitoneVariation))
          << QStringLiteral("Range: ") + RangeText(reply.instrumentRange)
          << QStringLiteral("MIDI channel: ") + MidiText(reply.midiChannel)
          << QStringLiteral("Bypass: ") + OnOff(reply.bypass != 0)
          << QStringLiteral("Bypass stored with the settings: ") +
                 OnOff(reply.storeBypassStatus == 1);
    return lines;
}

QJsonObject StatusJson(const protocol::StatusReply& reply, const QString& serial,
                       const std::optional<protocol::AddressTable>& addresses) {
    QJsonArray parameters;
    for (std::size_t i = 0; i < reply.parameters.size(); ++i)
        parameters.append(ParameterJson(i, reply.parameters[i]));
    QJsonArray assignments;
    for (std::size_t c = 0; c < kControlNames.size(); ++c)
        assignments.append(QJsonObject{
            {QStringLiteral("control"), QLatin1String(kControlNames[c])},
            {QStringLiteral("flag"), reply.assignmentFlags[c]},
            {QStringLiteral("field"), Hex4(reply.assignmentFields[c])},
            {QStringLiteral("assigned"), AssignmentText(reply.assignmentFields[c], addresses)}});
    return {
        {QStringLiteral("serial"), serial},
        {QStringLiteral("firmware"), QString::fromStdString(reply.FirmwareVersionText())},
        {QStringLiteral("algorithm"), QString::fromStdString(reply.AlgorithmVersionText())},
        {QStringLiteral("effect"), QString::fromStdString(reply.EffectNumberText())},
        {QStringLiteral("parameters"), parameters},
        {QStringLiteral("assignments"), assignments},
        {QStringLiteral("footswitch"), FootswitchText(reply.footswitchMode)},
        {QStringLiteral("footswitchMode"), reply.footswitchMode},
        {QStringLiteral("tuning"), reply.tuning},
        {QStringLiteral("semitones"), reply.semitoneVariation},
        {QStringLiteral("range"), RangeText(reply.instrumentRange)},
        {QStringLiteral("midiChannel"), MidiText(reply.midiChannel)},
        {QStringLiteral("bypass"), reply.bypass != 0},
        {QStringLiteral("storeBypass"), reply.storeBypassStatus == 1},
    };
}

}  // namespace varkunda::cli
