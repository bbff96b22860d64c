#include "protocol/HexText.h"

namespace varkunda::protocol {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string HexOf(std::uint32_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
}

}  // namespace

std::string HexByte(std::uint8_t value) { return HexOf(value, 2); }
std::string HexWord16(std::uint16_t value) { return HexOf(value, 4); }
std::string HexWord32(std::uint32_t value) { return HexOf(value, 8); }

std::string BytesToHexText(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0xF]);
    }
    return text;
}

std::size_t ConvertHexText(std::string_view text, std::uint8_t* out, std::size_t maxBytes) {
    std::size_t converted = 0;
    while (converted < maxBytes && 2 * converted + 1 < text.size()) {
        const int high = DigitValue(text[2 * converted]);
        const int low = DigitValue(text[2 * converted + 1]);
        if (high < 0 || low < 0) break;
        out[converted++] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return converted;
}

std::optional<std::vector<std::uint8_t>> HexTextToBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.size() / 2);
    if (ConvertHexText(text, bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

std::optional<std::uint8_t> XorChecksum(std::string_view text, std::size_t n) {
    if (text.size() < 2 * n) return std::nullopt;
    const auto bytes = HexTextToBytes(text.substr(0, 2 * n));
    if (!bytes) return std::nullopt;
    std::uint8_t sum = 0;
    for (std::uint8_t byte : *bytes) sum ^= byte;
    return sum;
}

}  // namespace varkunda::protocol
