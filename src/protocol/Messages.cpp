#include "protocol/Messages.h"

#include "protocol/HexText.h"

namespace varkunda::protocol {
namespace {

std::string FlagText(bool set) { return set ? "01" : "00"; }

// The bus address as two upper-case hex digits; nothing unless it is two hex digits.
std::optional<std::string> BusAddressText(std::string_view address) {
    const auto bytes = HexTextToBytes(address);
    if (address.size() != 2 || !bytes) return std::nullopt;
    return HexByte(bytes->front());
}

}  // namespace

std::string SetParameterMessage(std::uint16_t address, std::uint32_t value) {
    return HexByte(command::kSetParameter) + HexWord16(address) + HexWord32(value);
}

std::string BypassMessage(bool on) { return HexByte(command::kBypass) + FlagText(on); }

std::string StatusRequestMessage() { return HexByte(command::kStatusRequest) + "00"; }

std::string StoreParametersMessage(std::span<const std::uint32_t, 9> values) {
    std::string text = HexByte(command::kStoreParameters);
    for (std::uint32_t value : values) text += HexWord32(value);
    return text;
}

std::string AssignMessage(std::span<const std::uint8_t, 5> flags,
                          std::span<const std::uint16_t, 5> fields) {
    std::string text = HexByte(command::kAssign);
    for (std::uint8_t flag : flags) text += FlagText(flag != 0);
    for (std::uint16_t field : fields) text += HexWord16(field);
    return text;
}

std::string FootswitchMessage(bool shortPressChangesPreset, bool longPressBypasses) {
    return HexByte(command::kFootswitch) + FlagText(shortPressChangesPreset) +
           FlagText(longPressBypasses);
}

std::uint8_t FootswitchMode(bool shortPressChangesPreset, bool longPressBypasses) {
    return static_cast<std::uint8_t>(2 * int{shortPressChangesPreset} + int{longPressBypasses});
}

std::optional<FootswitchChoice> DecodeFootswitchMode(std::uint8_t mode) {
    if (mode > 3) return std::nullopt;
    return FootswitchChoice{(mode & 2) != 0, (mode & 1) != 0};
}

std::string TuningMessage(std::uint8_t tuning, std::int8_t semitones) {
    return HexByte(command::kTuning) + HexByte(tuning) +
           HexByte(static_cast<std::uint8_t>(semitones));
}

std::string InstrumentRangeMessage(std::uint8_t range) {
    std::string text = HexByte(command::kInstrumentRange) + HexByte(range);
    if (range == kInstrumentRangeStandard)
        text += "0102030405";
    else if (range == kInstrumentRangeLow)
        text += "0203040506";
    else
        return {};
    return text + HexByte(*XorChecksum(text, 7));
}

std::string MidiChannelMessage(std::uint8_t channel) {
    return HexByte(command::kMidiChannel) + HexByte(channel);
}

std::string StoreBypassStatusMessage(bool store) {
    return HexByte(command::kStoreBypassStatus) + (store ? "01" : "FF");
}

std::string EnterBootloaderMessage() {
    return HexByte(command::kEnterBootloader) + "00010203040506";
}

std::string EraseEepromMessage(std::string_view busAddress) {
    const auto address = BusAddressText(busAddress);
    if (!address) return {};
    return HexByte(command::kEraseEeprom) + *address + "00" + "0000";
}

std::string ReadEepromMessage(std::string_view busAddress) {
    const auto address = BusAddressText(busAddress.empty() ? kDefaultEepromAddress : busAddress);
    if (!address) return {};
    return HexByte(command::kReadEeprom) + *address + "0000" + "0000";
}

}  // namespace varkunda::protocol
