#include "protocol/Messages.h"

#include "protocol/HexText.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace varkunda::protocol;

namespace {

std::string WithoutBlanks(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c != ' ') digits += c;
    return digits;
}

struct MessageCase {
    const char* what;
    std::string text;
    const char* bytes;  // as the pedal receives them, blank between bytes; "" for none
};

class MessageBytes : public testing::TestWithParam<MessageCase> {};

TEST_P(MessageBytes, TextConvertsToTheBytesThePedalExpects) {
    const auto& param = GetParam();
    EXPECT_EQ(param.text, WithoutBlanks(param.bytes)) << param.what;
    const auto bytes = HexTextToBytes(param.text);
    ASSERT_TRUE(bytes.has_value()) << param.what;
    EXPECT_EQ(bytes->size() * 2, param.text.size()) << param.what;
}

constexpr std::array<std::uint32_t, 9> kNoValues{};
constexpr std::array<std::uint32_t, 9> kSomeValues{1, 2, 3, 4, 5, 6, 7, 8, 0x7FE000};
constexpr std::array<std::uint8_t, 5> kNoFlags{};
constexpr std::array<std::uint16_t, 5> kNoFields{kNotAssigned, kNotAssigned, kNotAssigned,
                                                 kNotAssigned, kNotAssigned};
constexpr std::array<std::uint8_t, 5> kClipAndRemote{1, 0, 0, 0, 7};
constexpr std::array<std::uint16_t, 5> kClipAndRemoteFields{0x00C6, kNotAssigned, kNotAssigned,
                                                            kNotAssigned, kRemotePresetChange};

INSTANTIATE_TEST_SUITE_P(
    CommandSet, MessageBytes,
    testing::Values(
        MessageCase{"Dry at 0x0027", SetParameterMessage(0x0027, 0x003FC000), "01 00 27 00 3F C0 00"},
        MessageCase{"bypass on", BypassMessage(true), "0D 01"},
        MessageCase{"bypass off", BypassMessage(false), "0D 00"},
        MessageCase{"status request", StatusRequestMessage(), "02 00"},
        MessageCase{"store all zero", StoreParametersMessage(kNoValues),
                    "03 00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 "
                    "00000000"},
        MessageCase{"store in parameter order", StoreParametersMessage(kSomeValues),
                    "03 00000001 00000002 00000003 00000004 00000005 00000006 00000007 00000008 "
                    "007FE000"},
        MessageCase{"nothing assigned", AssignMessage(kNoFlags, kNoFields),
                    "04 00 00 00 00 00 FF FF FF FF FF FF FF FF FF FF"},
        MessageCase{"Wave Clip on Control I, remote on preset",
                    AssignMessage(kClipAndRemote, kClipAndRemoteFields),
                    "04 01 00 00 00 01 00 C6 FF FF FF FF FF FF FF FD"},
        MessageCase{"short bypass, long preset", FootswitchMessage(false, false), "08 00 00"},
        MessageCase{"short preset, long bypass", FootswitchMessage(true, true), "08 01 01"},
        MessageCase{"Drop D, -2", TuningMessage(2, -2), "09 02 FE"},
        MessageCase{"no tuning, 0", TuningMessage(0, 0), "09 00 00"},
        MessageCase{"Standard, -5", TuningMessage(1, -5), "09 01 FB"},
        MessageCase{"Standard range", InstrumentRangeMessage(255), "0F FF 01 02 03 04 05 F1"},
        MessageCase{"Low range", InstrumentRangeMessage(186), "0F BA 02 03 04 05 06 B3"},
        MessageCase{"MIDI OMNI", MidiChannelMessage(0), "07 00"},
        MessageCase{"MIDI 10", MidiChannelMessage(10), "07 0A"},
        MessageCase{"MIDI 16", MidiChannelMessage(16), "07 10"},
        MessageCase{"store bypass status", StoreBypassStatusMessage(true), "10 01"},
        MessageCase{"do not store bypass status", StoreBypassStatusMessage(false), "10 FF"},
        MessageCase{"enter bootloader", EnterBootloaderMessage(), "05 00 01 02 03 04 05 06"},
        MessageCase{"erase 50", EraseEepromMessage("50"), "0B 50 00 00 00"},
        MessageCase{"erase 51", EraseEepromMessage("51"), "0B 51 00 00 00"},
        MessageCase{"erase lower case", EraseEepromMessage("5a"), "0B 5A 00 00 00"},
        MessageCase{"read 51", ReadEepromMessage("51"), "0C 51 00 00 00 00"},
        MessageCase{"read, no address chosen", ReadEepromMessage(""), "0C 50 00 00 00 00"}));

TEST(Messages, NothingToSendForValuesThePedalDoesNotKnow) {
    for (int range : {0, 1, 185, 187, 254})
        EXPECT_EQ(InstrumentRangeMessage(static_cast<std::uint8_t>(range)), "") << range;
    for (std::string_view address : {"", "5", "500", "5G", "  "})
        EXPECT_EQ(EraseEepromMessage(address), "") << '"' << address << '"';
    for (std::string_view address : {"5", "500", "G0"})
        EXPECT_EQ(ReadEepromMessage(address), "") << '"' << address << '"';
}

TEST(Messages, FootswitchModeMatchesTheMessageBytes) {
    const std::pair<FootswitchChoice, std::uint8_t> modes[] = {
        {{false, false}, 0}, {{false, true}, 1}, {{true, false}, 2}, {{true, true}, 3}};
    for (const auto& [choice, mode] : modes) {
        EXPECT_EQ(FootswitchMode(choice.shortPressChangesPreset, choice.longPressBypasses), mode);
        EXPECT_EQ(DecodeFootswitchMode(mode), choice);
        const auto bytes = *HexTextToBytes(
            FootswitchMessage(choice.shortPressChangesPreset, choice.longPressBypasses));
        EXPECT_EQ(2 * bytes[1] + bytes[2], mode);
    }
    EXPECT_FALSE(DecodeFootswitchMode(4).has_value());
    EXPECT_FALSE(DecodeFootswitchMode(7).has_value());
}

}  // namespace
