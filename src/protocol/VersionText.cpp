#include "protocol/VersionText.h"

namespace varkunda::protocol {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxPartDigits = 9;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::optional<unsigned> parsePart(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxPartDigits) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}
}  // namespace

std::string_view TrimVersionText(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<VersionNumber> ParseVersionText(std::string_view text) {
    text = TrimVersionText(text);
    const std::size_t stop = text.find('.');
    const auto major = parsePart(text.substr(0, stop));
    if (!major) return std::nullopt;
    if (stop == std::string_view::npos) return VersionNumber{*major, 0};
    const auto minor = parsePart(text.substr(stop + 1));
    if (!minor) return std::nullopt;
    return VersionNumber{*major, *minor};
}

std::string FormatVersion(VersionNumber version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

}  // namespace varkunda::protocol
