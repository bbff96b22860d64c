#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Messages to the pedal are composed as upper-case hexadecimal text, two digits per
// byte, fields most significant first, and converted to bytes just before writing.
namespace varkunda::protocol {

std::string HexByte(std::uint8_t value);     // "0A"
std::string HexWord16(std::uint16_t value);  // "002D"
std::string HexWord32(std::uint32_t value);  // "003FC000"
std::string BytesToHexText(std::span<const std::uint8_t> bytes);

// The driver-side conversion: converts pairs of hex digits (either case) into `out`,
// at most `maxBytes` of them, and stops at the first pair that is not two hex digits.
// Bytes of `out` after that point are left as they were. Returns the bytes converted.
std::size_t ConvertHexText(std::string_view text, std::uint8_t* out, std::size_t maxBytes);

// Strict conversion of half the text's length in bytes (an odd last digit is ignored);
// nothing when a pair is not hexadecimal.
std::optional<std::vector<std::uint8_t>> HexTextToBytes(std::string_view text);

// Exclusive-or of the n bytes given by the first 2n hex digits of text; nothing when
// the text is too short or not hexadecimal.
std::optional<std::uint8_t> XorChecksum(std::string_view text, std::size_t n);

}  // namespace varkunda::protocol
