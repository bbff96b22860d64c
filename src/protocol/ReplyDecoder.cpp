#include "protocol/ReplyDecoder.h"

#include <optional>

namespace varkunda::protocol {
namespace {

constexpr std::uint8_t kLineEndA = 0xA;  // low digit of LF, or any digit A
constexpr std::uint8_t kLineEndD = 0xD;  // low digit of CR, or any digit D

// Hexadecimal digits of the reply, high digit of each byte first, read without
// building the text.
class HexDigits {
public:
    explicit HexDigits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size() * 2; }
    std::uint8_t operator[](std::size_t k) const {
        const std::uint8_t byte = bytes_[k / 2];
        return (k % 2 == 0) ? static_cast<std::uint8_t>(byte >> 4)
                            : static_cast<std::uint8_t>(byte & 0xF);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// The number written by the line whose digits run from `start` to just before the
// line end at `end`. The last digit before the line end (the high digit of CR) is
// dropped; of the rest, every second digit (the low digit of each ASCII byte) is a
// decimal digit. Nothing when the line cannot be read as a number of 1 to 3 digits.
std::optional<std::uint8_t> ReadLine(const HexDigits& digits, std::size_t start, std::size_t end) {
    std::size_t length = end - start;
    if (length > 0) --length;
    if (length != 2 && length != 4 && length != 6) return std::nullopt;
    unsigned number = 0;
    for (std::size_t k = start + 1; k < start + length; k += 2) {
        const std::uint8_t digit = digits[k];
        if (digit > 9) return std::nullopt;
        number = number * 10 + digit;
    }
    return static_cast<std::uint8_t>(number % 256);
}

}  // namespace

std::vector<std::uint8_t> DecodeReplyNumbers(std::span<const std::uint8_t> reply) {
    const HexDigits digits(reply);
    std::vector<std::uint8_t> values;
    std::size_t start = 0;
    std::uint8_t last = 0;
    std::size_t j = 0;
    if (digits.size() > 0 && digits[0] == kLineEndA) start = j = 1;
    for (; j < digits.size(); ++j) {
        if (digits[j] == kLineEndA) {
            start = j + 1;
        } else if (digits[j] == kLineEndD) {
            if (const auto number = ReadLine(digits, start, j)) last = *number;
            values.push_back(last);
            if (j + 1 < digits.size() && digits[j + 1] == kLineEndA) ++j;
            start = j + 1;
        }
    }
    return values;
}

std::size_t CountReplyLines(std::span<const std::uint8_t> bytes) {
    std::size_t lines = 0;
    for (std::size_t k = 1; k < bytes.size(); ++k)
        if (bytes[k - 1] == 0x0D && bytes[k] == 0x0A) ++lines;
    return lines;
}

}  // namespace varkunda::protocol
