#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/PedalSimulator.h"

// The pedal's answer to the status request: 102 numbers, one byte each, written as
// decimal text lines ended by CR LF.
namespace varkunda::sim {

inline constexpr std::size_t kStatusNumberCount = 102;
inline constexpr std::size_t kSettingsOffset = 4;  // where the settings block starts

// Two decimal digits packed so that their hex form reads as the number: 14 -> 0x14.
std::uint8_t PackedDecimal(unsigned number);

// Bytes 4..101 of the reply: footswitch mode to MIDI channel, then the nineteen
// parameter values, most significant byte first.
std::vector<std::uint8_t> SettingsBlock(const PedalState& state);

// The 102 numbers: firmware, algorithm number as packed decimal in two bytes, effect
// index as packed decimal, then the settings block.
std::vector<std::uint8_t> StatusNumbers(const PedalIdentity& identity, const PedalState& state);

// Each number as one to three decimal digits and CR LF.
std::vector<std::uint8_t> DecimalLines(const std::vector<std::uint8_t>& numbers);

}  // namespace varkunda::sim
