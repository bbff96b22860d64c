#include "sim/MessageFramer.h"

#include <algorithm>
#include <utility>

namespace varkunda::sim {
namespace {

constexpr std::uint8_t kUploadCode = 0x00;
constexpr std::size_t kUploadHeaderLength = 3;  // code and the 16-bit length

}  // namespace

std::optional<std::size_t> FixedMessageLength(std::uint8_t code) {
    switch (code) {
        case 0x01: return 7;    // set parameter
        case 0x02: return 2;    // status request
        case 0x03: return 37;   // store assignable values
        case 0x04: return 16;   // assignments
        case 0x05: return 8;    // enter bootloader
        case 0x07: return 2;    // MIDI channel
        case 0x08: return 3;    // footswitch
        case 0x09: return 3;    // tuning
        case 0x0B: return 5;    // erase EEPROM
        case 0x0C: return 6;    // dump EEPROM
        case 0x0D: return 2;    // bypass
        case 0x0E: return 641;  // tuning data
        case 0x0F: return 8;    // instrument range
        case 0x10: return 2;    // bypass storage
        default: return std::nullopt;
    }
}

std::optional<std::size_t> MessageFramer::expectedLength() const {
    const std::uint8_t code = partial_.front();
    if (code != kUploadCode) return FixedMessageLength(code).value_or(1);
    if (partial_.size() < kUploadHeaderLength) return std::nullopt;
    const std::size_t declared = std::size_t{partial_[1]} << 8 | partial_[2];
    // A declared length below the header still ends the message after the header.
    return std::max(declared, kUploadHeaderLength);
}

std::optional<std::vector<std::uint8_t>> MessageFramer::push(std::uint8_t byte) {
    partial_.push_back(byte);
    const auto length = expectedLength();
    if (!length || partial_.size() < *length) return std::nullopt;
    return discard();
}

std::vector<std::uint8_t> MessageFramer::discard() { return std::exchange(partial_, {}); }

}  // namespace varkunda::sim
