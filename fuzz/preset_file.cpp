// The preset reader: any file a player might pick in the open dialog.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "protocol/PresetFile.h"

namespace protocol = varkunda::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const protocol::PresetReadResult read = protocol::ParsePresetFile(bytes);
    if (!read.ok()) {
        // Refused as a whole: nothing half-read reaches the effect window.
        FUZZ_CHECK(read.values.empty());
        return 0;
    }
    FUZZ_CHECK(read.values.size() >= protocol::kFewestPresetValues &&
               read.values.size() <= protocol::kMostPresetValues);
    std::vector<std::uint32_t> values;
    for (const protocol::PresetValue& value : read.values) {
        FUZZ_CHECK(value.text.size() == 8);
        std::uint32_t fromText = 0;
        for (char digit : value.text) {
            FUZZ_CHECK(std::isxdigit(static_cast<unsigned char>(digit)));
            fromText = fromText << 4 |
                       static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(digit))
                                                      ? digit - '0'
                                                      : std::tolower(digit) - 'a' + 10);
        }
        FUZZ_CHECK(fromText == value.value);
        values.push_back(value.value);
    }
    // What Save writes of the values reads back as the same values.
    const protocol::PresetReadResult again =
        protocol::ParsePresetFile(protocol::PresetFileBytes(values));
    FUZZ_CHECK(again.ok() && again.values.size() == values.size());
    for (std::size_t i = 0; i < values.size(); ++i) FUZZ_CHECK(again.values[i].value == values[i]);
    return 0;
}
