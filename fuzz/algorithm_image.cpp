// An algorithm image's first line, as loaded from a resource: its address table, read
// into the parameter set, and its conversion to the bytes sent to the pedal.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "protocol/HexText.h"
#include "protocol/Parameters.h"

namespace protocol = varkunda::protocol;

namespace {

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

void CheckAddressTable(std::string_view line) {
    std::string error;
    const auto table = protocol::ParseAddressTable(line, &error);
    FUZZ_CHECK(table.has_value() == error.empty());

    protocol::ParameterSet parameters;
    const protocol::ParameterSet before;
    std::string loadError;
    FUZZ_CHECK(parameters.LoadParameterAddresses(line, &loadError) == table.has_value());
    FUZZ_CHECK(loadError == error);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const auto slot = static_cast<std::size_t>(parameters.info(i).slot);
        FUZZ_CHECK(parameters.address(i) == (table ? (*table)[slot] : before.address(i)));
    }
    if (!table) return;
    for (std::size_t k = 0; k < protocol::kAddressSlotCount; ++k)
        FUZZ_CHECK(protocol::HexWord16((*table)[k]) ==
                   UpperCase(line.substr(protocol::kAddressTableOffset + 4 * k, 4)));
}

void CheckConversion(std::string_view line) {
    std::vector<std::uint8_t> out(line.size() / 2, 0);
    const std::size_t converted = protocol::ConvertHexText(line, out.data(), out.size());
    FUZZ_CHECK(converted <= out.size());
    const auto bytes = protocol::HexTextToBytes(line);
    FUZZ_CHECK(bytes.has_value() == (converted == out.size()));
    if (bytes)
        FUZZ_CHECK(protocol::BytesToHexText(*bytes) ==
                   UpperCase(line.substr(0, 2 * bytes->size())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    CheckAddressTable(line);
    CheckConversion(line);
    return 0;
}
