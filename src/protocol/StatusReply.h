#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The pedal's answer to the status request 02 00: 102 byte values in a fixed layout.
namespace varkunda::protocol {

inline constexpr std::size_t kStatusReplyLength = 102;

// Positions of the fields in the reply.
inline constexpr std::size_t kStatusFirmwareIndex = 0;
inline constexpr std::size_t kStatusAlgorithmIndex = 1;
inline constexpr std::size_t kStatusEffectNumberIndex = 3;
inline constexpr std::size_t kStatusFootswitchModeIndex = 4;
inline constexpr std::size_t kStatusTuningIndex = 5;
inline constexpr std::size_t kStatusSemitoneIndex = 6;
inline constexpr std::size_t kStatusAssignmentFlagsIndex = 7;
inline constexpr std::size_t kStatusAssignmentFieldsIndex = 12;
inline constexpr std::size_t kStatusBypassIndex = 22;
inline constexpr std::size_t kStatusStoreBypassIndex = 23;
inline constexpr std::size_t kStatusInstrumentRangeIndex = 24;
inline constexpr std::size_t kStatusMidiChannelIndex = 25;
inline constexpr std::size_t kStatusParametersIndex = 26;

struct StatusReply {
    std::uint8_t firmware = 0;
    std::uint8_t algorithmHigh = 0, algorithmLow = 0;
    std::uint8_t effectNumber = 0;
    std::uint8_t footswitchMode = 0;
    std::uint8_t tuning = 0;
    std::int8_t semitoneVariation = 0;
    std::array<std::uint8_t, 5> assignmentFlags{};     // Control I..IV, Remote
    std::array<std::uint16_t, 5> assignmentFields{};   // addresses; remote function
    std::uint8_t bypass = 0;                           // 0 off, 1 on
    std::uint8_t storeBypassStatus = 0;                // 1 store, 0 do not store
    std::uint8_t instrumentRange = 0;                  // 255 Standard, 186 Low
    std::uint8_t midiChannel = 0;                      // 0 or 255 OMNI, 1..16
    std::array<std::uint32_t, 19> parameters{};        // in parameter index order

    std::string FirmwareVersionText() const;   // byte 0 in decimal, "13"
    std::string AlgorithmVersionText() const;  // bytes 1 and 2 as 2 + 2 hex digits, "0014"
    std::string EffectNumberText() const;      // byte 3 as 2 hex digits, "00"

    bool operator==(const StatusReply&) const = default;
};

// Nothing when fewer than kStatusReplyLength numbers are given; numbers beyond them
// are ignored.
std::optional<StatusReply> ParseStatusReply(std::span<const std::uint8_t> numbers);

// The reply's kStatusReplyLength byte values in layout order.
std::vector<std::uint8_t> EncodeStatusReplyNumbers(const StatusReply& reply);

// Reads a text of decimal digits after optional leading blanks ("0014" gives 14).
// Nothing for an empty text, any other character (the hex digits of "0A") or a number
// beyond 32 bits.
std::optional<std::uint32_t> ParseDecimalDigits(std::string_view text);

}  // namespace varkunda::protocol
