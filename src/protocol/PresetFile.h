#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/Parameters.h"

// Preset files: the nineteen parameter values as text, one value per line in parameter
// order, each written as 8 upper-case hexadecimal digits.
namespace varkunda::protocol {

// Presets written before the noise gate existed hold only the first 17 values.
inline constexpr std::size_t kFewestPresetValues = 17;
inline constexpr std::size_t kMostPresetValues = kParameterCount;
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The file as Save writes it: the UTF-8 byte-order mark, then the values separated by a
// single CR, none after the last (173 bytes for 19 values).
std::string PresetFileBytes(std::span<const std::uint32_t> values);

struct PresetValue {
    std::uint32_t value = 0;
    std::string text;  // the 8 digits as they stand in the file
};

struct PresetReadResult {
    std::vector<PresetValue> values;  // 17 to 19, in parameter order; empty on error
    std::string error;                // why the file is refused, naming the first bad line
    bool ok() const { return error.empty(); }
};

// Reads the values line by line. Lines end at CR, LF or CR LF; the byte-order mark is
// optional; blanks around a value and blank lines at the end are ignored; lower-case
// digits are accepted. Anything but 17, 18 or 19 values of exactly 8 hexadecimal
// digits is refused as a whole.
PresetReadResult ParsePresetFile(std::string_view bytes);

}  // namespace varkunda::protocol
