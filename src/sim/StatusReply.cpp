#include "sim/StatusReply.h"

#include <string>

namespace varkunda::sim {
namespace {

void PutWord16(std::vector<std::uint8_t>& out, std::uint16_t word) {
    out.push_back(static_cast<std::uint8_t>(word >> 8));
    out.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

void PutWord32(std::vector<std::uint8_t>& out, std::uint32_t word) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>((word >> shift) & 0xFF));
}

}  // namespace

std::uint8_t PackedDecimal(unsigned number) {
    return static_cast<std::uint8_t>(((number / 10) % 10) << 4 | (number % 10));
}

std::vector<std::uint8_t> SettingsBlock(const PedalState& state) {
    std::vector<std::uint8_t> block;
    block.reserve(kStatusNumberCount - kSettingsOffset);
    block.push_back(state.footswitchMode);
    block.push_back(state.tuning);
    block.push_back(static_cast<std::uint8_t>(state.semitoneVariation));
    for (std::uint8_t flag : state.assignmentFlags) block.push_back(flag);
    for (std::uint16_t field : state.assignmentFields) PutWord16(block, field);
    block.push_back(state.bypass);
    block.push_back(state.storeBypassStatus);
    block.push_back(state.instrumentRange);
    block.push_back(state.midiChannel);
    for (std::uint32_t value : state.parameters) PutWord32(block, value);
    return block;
}

std::vector<std::uint8_t> StatusNumbers(const PedalIdentity& identity, const PedalState& state) {
    std::vector<std::uint8_t> numbers;
    numbers.reserve(kStatusNumberCount);
    numbers.push_back(identity.firmware);
    const unsigned algorithm = identity.algorithmNumber % 10000;
    numbers.push_back(PackedDecimal(algorithm / 100));
    numbers.push_back(PackedDecimal(algorithm % 100));
    numbers.push_back(PackedDecimal(identity.effectIndex % 100));
    const auto block = SettingsBlock(state);
    numbers.insert(numbers.end(), block.begin(), block.end());
    return numbers;
}

std::vector<std::uint8_t> DecimalLines(const std::vector<std::uint8_t>& numbers) {
    std::vector<std::uint8_t> text;
    text.reserve(numbers.size() * 5);
    for (std::uint8_t number : numbers) {
        for (char digit : std::to_string(number)) text.push_back(static_cast<std::uint8_t>(digit));
        text.push_back('\r');
        text.push_back('\n');
    }
    return text;
}

}  // namespace varkunda::sim
