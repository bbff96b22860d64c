#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Builders for every message of the pedal's command set. Each returns the message as
// upper-case hexadecimal text, two digits per byte; the sender logs the text and
// converts it into bytes just before writing.
namespace varkunda::protocol {

// Command codes: the first byte of each message.
namespace command {
inline constexpr std::uint8_t kInstallAlgorithm = 0x00;
inline constexpr std::uint8_t kSetParameter = 0x01;
inline constexpr std::uint8_t kStatusRequest = 0x02;
inline constexpr std::uint8_t kStoreParameters = 0x03;
inline constexpr std::uint8_t kAssign = 0x04;
inline constexpr std::uint8_t kEnterBootloader = 0x05;
inline constexpr std::uint8_t kMidiChannel = 0x07;
inline constexpr std::uint8_t kFootswitch = 0x08;
inline constexpr std::uint8_t kTuning = 0x09;
inline constexpr std::uint8_t kEraseEeprom = 0x0B;
inline constexpr std::uint8_t kReadEeprom = 0x0C;
inline constexpr std::uint8_t kBypass = 0x0D;
inline constexpr std::uint8_t kTuningData = 0x0E;
inline constexpr std::uint8_t kInstrumentRange = 0x0F;
inline constexpr std::uint8_t kStoreBypassStatus = 0x10;
}  // namespace command

// Assignment fields: the address of the assigned parameter, or one of these.
inline constexpr std::uint16_t kNotAssigned = 0xFFFF;
inline constexpr std::uint16_t kRemoteBypass = 0xFFFE;
inline constexpr std::uint16_t kRemotePresetChange = 0xFFFD;

inline constexpr std::uint8_t kInstrumentRangeStandard = 0xFF;
inline constexpr std::uint8_t kInstrumentRangeLow = 0xBA;

// The answer to the EEPROM read: a marker byte, then the whole EEPROM.
inline constexpr std::uint8_t kEepromDumpMarker = 0xAB;
inline constexpr std::size_t kEepromSize = 16384;
inline constexpr std::size_t kEepromDumpLength = 1 + kEepromSize;
inline constexpr std::string_view kDefaultEepromAddress = "50";

// "01" + address (4 digits) + value (8 digits): 7 bytes.
std::string SetParameterMessage(std::uint16_t address, std::uint32_t value);

// "0D01" bypass on, "0D00" bypass off.
std::string BypassMessage(bool on);

// "0200".
std::string StatusRequestMessage();

// "03" + the nine assignable parameter values in parameter order: 37 bytes.
std::string StoreParametersMessage(std::span<const std::uint32_t, 9> values);

// "04" + five flags (Control I..IV, Remote; "01" for any non-zero flag) + the five
// 16-bit fields in the same order: 16 bytes.
std::string AssignMessage(std::span<const std::uint8_t, 5> flags,
                          std::span<const std::uint16_t, 5> fields);

// "08" + short press ("00" bypass, "01" change preset) + long press ("00" change
// preset, "01" bypass).
std::string FootswitchMessage(bool shortPressChangesPreset, bool longPressBypasses);

// The footswitch mode the status reply reports for a choice: 2 x short + long.
std::uint8_t FootswitchMode(bool shortPressChangesPreset, bool longPressBypasses);

struct FootswitchChoice {
    bool shortPressChangesPreset = false;
    bool longPressBypasses = false;
    bool operator==(const FootswitchChoice&) const = default;
};
// The choice a reported mode 0..3 stands for; nothing for any other mode.
std::optional<FootswitchChoice> DecodeFootswitchMode(std::uint8_t mode);

// "09" + tuning + semitone variation as a two's-complement byte.
std::string TuningMessage(std::uint8_t tuning, std::int8_t semitones);

// "0F" + range + fixed pattern + XOR checksum: 8 bytes. Standard (255) gives
// "0FFF0102030405F1", Low (186) "0FBA0203040506B3". The pedal knows no other range:
// for any other value the text is empty, so nothing is sent.
std::string InstrumentRangeMessage(std::uint8_t range);

// "07" + channel (0x00 OMNI, 0x01..0x10).
std::string MidiChannelMessage(std::uint8_t channel);

// "1001" store the bypass state with the settings, "10FF" do not.
std::string StoreBypassStatusMessage(bool store);

// "0500010203040506": leave the effect and start the serial bootloader.
std::string EnterBootloaderMessage();

// "0B" + EEPROM bus address (two hex digits, "50" or "51") + "000000": 5 bytes.
// Empty when the address is not two hexadecimal digits.
std::string EraseEepromMessage(std::string_view busAddress);

// "0C" + EEPROM bus address + "00000000": 6 bytes. An empty address stands for "50".
// Empty when the address is not two hexadecimal digits.
std::string ReadEepromMessage(std::string_view busAddress);

}  // namespace varkunda::protocol
