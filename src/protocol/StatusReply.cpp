#include "protocol/StatusReply.h"

#include "protocol/HexText.h"

#include <limits>

namespace varkunda::protocol {
namespace {

std::uint16_t Word16At(std::span<const std::uint8_t> bytes, std::size_t index) {
    return static_cast<std::uint16_t>(bytes[index] << 8 | bytes[index + 1]);
}

std::uint32_t Word32At(std::span<const std::uint8_t> bytes, std::size_t index) {
    return std::uint32_t{bytes[index]} << 24 | std::uint32_t{bytes[index + 1]} << 16 |
           std::uint32_t{bytes[index + 2]} << 8 | std::uint32_t{bytes[index + 3]};
}

void PutWord16(std::vector<std::uint8_t>& bytes, std::size_t index, std::uint16_t word) {
    bytes[index] = static_cast<std::uint8_t>(word >> 8);
    bytes[index + 1] = static_cast<std::uint8_t>(word);
}

void PutWord32(std::vector<std::uint8_t>& bytes, std::size_t index, std::uint32_t word) {
    for (std::size_t k = 0; k < 4; ++k)
        bytes[index + k] = static_cast<std::uint8_t>(word >> (24 - 8 * k));
}

}  // namespace

std::string StatusReply::FirmwareVersionText() const { return std::to_string(firmware); }

std::string StatusReply::AlgorithmVersionText() const {
    return HexByte(algorithmHigh) + HexByte(algorithmLow);
}

std::string StatusReply::EffectNumberText() const { return HexByte(effectNumber); }

std::optional<StatusReply> ParseStatusReply(std::span<const std::uint8_t> numbers) {
    if (numbers.size() < kStatusReplyLength) return std::nullopt;
    StatusReply reply;
    reply.firmware = numbers[kStatusFirmwareIndex];
    reply.algorithmHigh = numbers[kStatusAlgorithmIndex];
    reply.algorithmLow = numbers[kStatusAlgorithmIndex + 1];
    reply.effectNumber = numbers[kStatusEffectNumberIndex];
    reply.footswitchMode = numbers[kStatusFootswitchModeIndex];
    reply.tuning = numbers[kStatusTuningIndex];
    reply.semitoneVariation = static_cast<std::int8_t>(numbers[kStatusSemitoneIndex]);
    for (std::size_t k = 0; k < 5; ++k) {
        reply.assignmentFlags[k] = numbers[kStatusAssignmentFlagsIndex + k];
        reply.assignmentFields[k] = Word16At(numbers, kStatusAssignmentFieldsIndex + 2 * k);
    }
    reply.bypass = numbers[kStatusBypassIndex];
    reply.storeBypassStatus = numbers[kStatusStoreBypassIndex];
    reply.instrumentRange = numbers[kStatusInstrumentRangeIndex];
    reply.midiChannel = numbers[kStatusMidiChannelIndex];
    for (std::size_t i = 0; i < reply.parameters.size(); ++i)
        reply.parameters[i] = Word32At(numbers, kStatusParametersIndex + 4 * i);
    return reply;
}

std::vector<std::uint8_t> EncodeStatusReplyNumbers(const StatusReply& reply) {
    std::vector<std::uint8_t> numbers(kStatusReplyLength, 0);
    numbers[kStatusFirmwareIndex] = reply.firmware;
    numbers[kStatusAlgorithmIndex] = reply.algorithmHigh;
    numbers[kStatusAlgorithmIndex + 1] = reply.algorithmLow;
    numbers[kStatusEffectNumberIndex] = reply.effectNumber;
    numbers[kStatusFootswitchModeIndex] = reply.footswitchMode;
    numbers[kStatusTuningIndex] = reply.tuning;
    numbers[kStatusSemitoneIndex] = static_cast<std::uint8_t>(reply.semitoneVariation);
    for (std::size_t k = 0; k < 5; ++k) {
        numbers[kStatusAssignmentFlagsIndex + k] = reply.assignmentFlags[k];
        PutWord16(numbers, kStatusAssignmentFieldsIndex + 2 * k, reply.assignmentFields[k]);
    }
    numbers[kStatusBypassIndex] = reply.bypass;
    numbers[kStatusStoreBypassIndex] = reply.storeBypassStatus;
    numbers[kStatusInstrumentRangeIndex] = reply.instrumentRange;
    numbers[kStatusMidiChannelIndex] = reply.midiChannel;
    for (std::size_t i = 0; i < reply.parameters.size(); ++i)
        PutWord32(numbers, kStatusParametersIndex + 4 * i, reply.parameters[i]);
    return numbers;
}

std::optional<std::uint32_t> ParseDecimalDigits(std::string_view text) {
    std::size_t k = 0;
    while (k < text.size() && (text[k] == ' ' || text[k] == '\t')) ++k;
    if (k == text.size()) return std::nullopt;
    std::uint64_t number = 0;
    for (; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
        number = number * 10 + static_cast<std::uint64_t>(text[k] - '0');
        if (number > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}

}  // namespace varkunda::protocol
