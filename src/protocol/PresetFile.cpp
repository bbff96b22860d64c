#include "protocol/PresetFile.h"

#include <algorithm>
#include <optional>

#include "protocol/HexText.h"

namespace varkunda::protocol {
namespace {

constexpr std::size_t kValueDigits = 8;
constexpr std::size_t kShownLineLimit = 24;  // longer lines are not quoted in a reason

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    return line;
}

// Splits at CR LF, LF or CR; a final line end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::optional<std::uint32_t> ParseValue(std::string_view digits) {
    if (digits.size() != kValueDigits) return std::nullopt;
    const auto bytes = HexTextToBytes(digits);
    if (!bytes) return std::nullopt;
    std::uint32_t value = 0;
    for (std::uint8_t byte : *bytes) value = value << 8 | byte;
    return value;
}

bool IsPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::string NotAValue(std::size_t lineNumber, std::string_view line) {
    std::string reason = "line " + std::to_string(lineNumber);
    if (line.empty())
        return reason + " is empty; every line must hold a value of 8 hexadecimal digits";
    if (line.size() <= kShownLineLimit && IsPrintable(line))
        reason += " holds \"" + std::string(line) + "\"";
    else
        reason += " holds " + std::to_string(line.size()) + " characters";
    return reason + ", not a value of 8 hexadecimal digits";
}

PresetReadResult Refused(std::string reason) {
    PresetReadResult result;
    result.error = std::move(reason);
    return result;
}

}  // namespace

std::string PresetFileBytes(std::span<const std::uint32_t> values) {
    std::string text(kUtf8ByteOrderMark);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += '\r';
        text += HexWord32(values[i]);
    }
    return text;
}

PresetReadResult ParsePresetFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
    std::vector<std::string_view> lines = SplitLines(bytes);
    while (!lines.empty() && Trimmed(lines.back()).empty()) lines.pop_back();

    if (lines.empty()) return Refused("the file holds no values");

    PresetReadResult result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == kMostPresetValues)
            return Refused("line " + std::to_string(i + 1) + " is one more than the " +
                           std::to_string(kMostPresetValues) + " values a preset holds");
        const std::string_view digits = Trimmed(lines[i]);
        const auto value = ParseValue(digits);
        if (!value) return Refused(NotAValue(i + 1, digits));
        result.values.push_back({*value, std::string(digits)});
    }
    if (lines.size() < kFewestPresetValues)
        return Refused("the file ends after line " + std::to_string(lines.size()) +
                       "; a preset holds " + std::to_string(kFewestPresetValues) + " to " +
                       std::to_string(kMostPresetValues) + " values");
    return result;
}

}  // namespace varkunda::protocol
