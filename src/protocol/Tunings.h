#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The tuning data: 32 peaking cut filters, each centred on one note, as five
// coefficients in the fixed-point form of the pedal's signal processor (23 fraction
// bits, two's complement, most significant byte first). Computed, not stored.
namespace varkunda::protocol {

inline constexpr std::size_t kTuningEntryCount = 32;
inline constexpr std::size_t kTuningCoefficientCount = 5;
inline constexpr std::size_t kTuningEntryBytes = 4 * kTuningCoefficientCount;           // 20
inline constexpr std::size_t kTuningDataBytes = kTuningEntryCount * kTuningEntryBytes;  // 640

using TuningCoefficients = std::array<std::int32_t, kTuningCoefficientCount>;

// Entry k (0..31): c0, c1, c2 feed forward, c3, c4 the feedback with inverted sign.
TuningCoefficients TuningEntry(std::size_t entry);

// The 640 bytes of the table, entries 0 to 31.
std::vector<std::uint8_t> TuningDataBytes();

// The table as 1280 upper-case hexadecimal digits, no separators.
std::string TuningDataText();

// "0E" + the table: 641 bytes.
std::string TuningDataMessage(std::string_view tuningDataText);

}  // namespace varkunda::protocol
