#include "sim/ParameterMap.h"

#include <algorithm>

namespace varkunda::sim {
namespace {

constexpr const char* kNames[kParameterCount] = {
    "Dry",         "Sub Mix",         "-1 Oct",           "-2 Oct",
    "Wave",        "Low Pass",        "High Pass",        "1st Harmonic",
    "Split",       "Range",           "Input Level",      "1st Harmonic Pitch",
    "Wave Clip",   "Dominant Notes Cut", "High Notes Cut", "Dry HPF",
    "Limit Range UP", "Noise Gate Status", "Noise Gate Threshold"};

constexpr std::uint64_t kFullScale = 0x800000;

std::optional<std::uint32_t> StepsOf(std::size_t parameter) {
    switch (parameter) {
        case 5: return 24;  // Low Pass
        case 6: return 16;  // High Pass
        case 9: return 22;  // Range
        default: return std::nullopt;
    }
}

}  // namespace

AddressTable BuiltInAddressTable() {
    return {0x0027, 0x0007, 0x007D, 0x0080, 0x0002, 0x00AF, 0x00BD, 0x007E, 0x00C9, 0x002D, 0x0041,
            0x0037, 0x000B, 0x0052, 0x00C6, 0x001D, 0x000E, 0x0006, 0xFF00, 0x00BC, 0x0003};
}

std::optional<std::size_t> ParameterOfSlot(std::size_t slot) {
    if (slot <= 9) return slot;
    if (slot >= 12 && slot < kAddressSlotCount) return slot - 2;
    return std::nullopt;
}

const char* ParameterName(std::size_t parameter) {
    return parameter < kParameterCount ? kNames[parameter] : "?";
}

std::uint32_t ReportedValue(std::size_t parameter, std::uint32_t received) {
    const auto steps = StepsOf(parameter);
    if (!steps) return received;
    const std::uint64_t step = (received * std::uint64_t{*steps} + kFullScale / 2) / kFullScale;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(step, *steps));
}

}  // namespace varkunda::sim
