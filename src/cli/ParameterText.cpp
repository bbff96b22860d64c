#include "cli/ParameterText.h"

#include "protocol/Parameters.h"
#include "protocol/ValueEncoding.h"

namespace varkunda::cli {

namespace {

using protocol::ParameterKind;

const QString kDegree = QStringLiteral("\u00B0");
const QString kRawPrefix = QStringLiteral("raw:0x");

bool IsSwitch(ParameterKind kind) {
    return kind == ParameterKind::Wave || kind == ParameterKind::Split ||
           kind == ParameterKind::OnOff || kind == ParameterKind::CheckBox;
}

QString SignedText(int number) {
    return number > 0 ? QStringLiteral("+%1").arg(number) : QString::number(number);
}

// Angles the window can show: -180..180 outside the dead zone between the stops.
bool IsShownAngle(int angle) {
    return angle >= -180 && angle <= 180 && protocol::SnapDialAngle(angle) == angle;
}

bool IsShownWord(const protocol::ParameterInfo& info, std::uint32_t value) {
    if (info.kind == ParameterKind::Dial) return value < protocol::kDialFullScale;
    if (info.kind == ParameterKind::PitchTable) return protocol::PitchTableIndex(value).has_value();
    return value == protocol::EncodeSwitch(info.kind, true) ||
           value == protocol::EncodeSwitch(info.kind, false);
}

QString Expected(const protocol::ParameterInfo& info) {
    if (info.kind == ParameterKind::Dial)
        return QStringLiteral(
                   "a dial angle from -180%1 to 180%1 outside the dead zone between "
                   "-135%1 and -45%1")
            .arg(kDegree);
    if (info.kind == ParameterKind::PitchTable)
        return QStringLiteral("a pitch from -12 to +12 semitones");
    return QStringLiteral("on or off");
}

std::optional<std::uint32_t> ParseRaw(const QString& text) {
    const QString digits = text.mid(kRawPrefix.size());
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    bool ok = false;
    const std::uint32_t value = digits.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ParseShown(const protocol::ParameterInfo& info, QString text) {
    bool ok = false;
    if (info.kind == ParameterKind::Dial) {
        if (text.endsWith(kDegree)) text.chop(kDegree.size());
        const int angle = text.toInt(&ok);
        if (!ok || !IsShownAngle(angle)) return std::nullopt;
        return protocol::DialAngleToValue(angle);
    }
    if (info.kind == ParameterKind::PitchTable) {
        const int semitones = text.toInt(&ok);
        const int entry = semitones - protocol::kHarmonicPitchLowestSemitone;
        if (!ok || entry < 0 || entry >= static_cast<int>(protocol::HarmonicPitchTable.size()))
            return std::nullopt;
        return protocol::HarmonicPitchTable[static_cast<std::size_t>(entry)];
    }
    const QString word = text.toLower();
    if (word != QStringLiteral("on") && word != QStringLiteral("off")) return std::nullopt;
    return protocol::EncodeSwitch(info.kind, word == QStringLiteral("on"));
}

}  // namespace

std::optional<std::size_t> ParameterIndexOf(const QString& name) {
    for (std::size_t i = 0; i < protocol::kParameterCount; ++i)
        if (name.compare(QLatin1String(protocol::kParameterInfo[i].name), Qt::CaseInsensitive) == 0)
            return i;
    return std::nullopt;
}

QString ShownValue(std::size_t parameter, std::uint32_t value) {
    const protocol::ParameterInfo& info = protocol::kParameterInfo.at(parameter);
    if (info.kind == ParameterKind::Dial)
        return QString::number(protocol::ValueToDialAngle(value, info.fullScale)) + kDegree;
    if (info.kind == ParameterKind::PitchTable) {
        const auto entry = protocol::PitchTableIndex(value);
        if (!entry) return QStringLiteral("-");
        return SignedText(static_cast<int>(*entry) + protocol::kHarmonicPitchLowestSemitone);
    }
    if (!IsSwitch(info.kind)) return QStringLiteral("-");
    const auto on = protocol::DecodeSwitch(info.kind, value);
    if (!on) return QStringLiteral("-");
    return *on ? QStringLiteral("on") : QStringLiteral("off");
}

TypedValue ParseParameterValue(std::size_t parameter, const QString& text) {
    const protocol::ParameterInfo& info = protocol::kParameterInfo.at(parameter);
    std::optional<std::uint32_t> value;
    if (text.startsWith(kRawPrefix, Qt::CaseInsensitive)) {
        value = ParseRaw(text);
        if (value && !IsShownWord(info, *value)) value.reset();
    } else {
        value = ParseShown(info, text.trimmed());
    }
    if (value) return {value, {}};
    return {std::nullopt, QStringLiteral("\"%1\" is out of range for %2: expected %3, or a word "
                                         "the window shows as raw:0xHHHHHHHH.")
                              .arg(text, QLatin1String(info.name), Expected(info))};
}

}  // namespace varkunda::cli
