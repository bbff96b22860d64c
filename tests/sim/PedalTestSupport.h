#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/HexText.h"
#include "sim/PedalSimulator.h"

namespace varkunda::sim::testing {

inline std::vector<std::uint8_t> Bytes(std::string_view hex) {
    auto bytes = protocol::HexTextToBytes(hex);
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

inline void Send(PedalSimulator& pedal, std::string_view hex) {
    const auto bytes = Bytes(hex);
    pedal.hostWrite(bytes.data(), bytes.size());
}

inline std::vector<std::uint8_t> ReadAll(PedalSimulator& pedal) {
    std::vector<std::uint8_t> bytes(pedal.hostReadable());
    bytes.resize(pedal.hostRead(bytes.data(), bytes.size()));
    return bytes;
}

// Decimal numbers, each ended by CR LF; a line that is not one to three digits ends
// the parse with -1 appended, so a test sees it.
inline std::vector<int> DecimalNumbers(const std::vector<std::uint8_t>& text) {
    std::vector<int> numbers;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            if (line.empty() || line.size() > 3 ||
                line.find_first_not_of("0123456789") != std::string::npos) {
                numbers.push_back(-1);
                return numbers;
            }
            numbers.push_back(std::stoi(line));
            line.clear();
            ++i;
        } else {
            line.push_back(static_cast<char>(text[i]));
        }
    }
    if (!line.empty()) numbers.push_back(-1);
    return numbers;
}

inline std::vector<int> RequestStatus(PedalSimulator& pedal) {
    Send(pedal, "0200");
    return DecimalNumbers(ReadAll(pedal));
}

inline std::uint32_t Word32(const std::vector<int>& numbers, std::size_t at) {
    return static_cast<std::uint32_t>(numbers.at(at)) << 24 |
           static_cast<std::uint32_t>(numbers.at(at + 1)) << 16 |
           static_cast<std::uint32_t>(numbers.at(at + 2)) << 8 |
           static_cast<std::uint32_t>(numbers.at(at + 3));
}

inline std::uint32_t Parameter(const std::vector<int>& numbers, std::size_t index) {
    return Word32(numbers, 26 + 4 * index);
}

inline bool AnyEventContains(const PedalSimulator& pedal, std::string_view text) {
    for (const auto& event : pedal.events())
        if (event.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace varkunda::sim::testing
