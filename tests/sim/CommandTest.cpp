#include <gtest/gtest.h>

#include <utility>

#include "PedalTestSupport.h"
#include "sim/ParameterMap.h"

namespace varkunda::sim {
namespace {

using namespace testing;

struct CommandCase {
    const char* name;
    const char* setup;    // sent first, hex
    const char* message;  // hex
    std::vector<std::pair<std::size_t, int>> expected;  // status reply index -> number
};

std::vector<std::pair<std::size_t, int>> Word(std::size_t at, std::uint32_t value) {
    return {{at, int(value >> 24)}, {at + 1, int(value >> 16 & 0xFF)},
            {at + 2, int(value >> 8 & 0xFF)}, {at + 3, int(value & 0xFF)}};
}

std::size_t ParameterAt(std::size_t index) { return 26 + 4 * index; }

class CommandEffect : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandEffect, ShowsInTheNextStatusReply) {
    const CommandCase& c = GetParam();
    PedalSimulator pedal;
    Send(pedal, c.setup);
    const auto before = RequestStatus(pedal);
    Send(pedal, c.message);
    EXPECT_EQ(pedal.hostReadable(), 0u) << "the message has no answer";
    const auto after = RequestStatus(pedal);
    ASSERT_EQ(after.size(), 102u);
    auto unchanged = before;
    for (const auto& [index, number] : c.expected) {
        EXPECT_EQ(after[index], number) << "status byte " << index;
        unchanged[index] = after[index];
    }
    EXPECT_EQ(after, unchanged) << "only the expected bytes change";
    EXPECT_NE(after, before) << "the message changes something";
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, CommandEffect,
    ::testing::Values(
        CommandCase{"SetDry", "", "010027003FC000", Word(ParameterAt(0), 0x003FC000)},
        CommandCase{"SetSplit", "", "0100C900000001", Word(ParameterAt(8), 1)},
        CommandCase{"LowPassReportsAStep", "", "0100AF001FE000", Word(ParameterAt(5), 6)},
        CommandCase{"LowPassFullScale", "", "0100AF007FE000", Word(ParameterAt(5), 24)},
        CommandCase{"HighPassReportsAStep", "", "0100BD003FC000", Word(ParameterAt(6), 8)},
        CommandCase{"RangeReportsAStep", "", "01002D001FE000", Word(ParameterAt(9), 5)},
        CommandCase{"SetInputLevel", "", "01000B00123456", Word(ParameterAt(10), 0x00123456)},
        CommandCase{"SetNoiseGateThreshold", "", "01000300654000",
                    Word(ParameterAt(18), 0x00654000)},
        CommandCase{"StoreNineAssignableValues", "",
                    "03000000010000000200000003000000040000000500000006000000070000000800000009",
                    [] {
                        std::vector<std::pair<std::size_t, int>> all;
                        for (std::uint32_t i = 0; i < 9; ++i) {
                            const auto word = Word(ParameterAt(10 + i), i + 1);
                            all.insert(all.end(), word.begin(), word.end());
                        }
                        return all;
                    }()},
        CommandCase{"Assign",
                    "",
                    "04010000000100C6FFFFFFFFFFFFFFFD",
                    {{7, 1}, {8, 0}, {11, 1}, {12, 0x00}, {13, 0xC6}, {20, 0xFF}, {21, 0xFD}}},
        CommandCase{"MidiChannelTen", "", "070A", {{25, 10}}},
        CommandCase{"MidiChannelSixteen", "", "0710", {{25, 16}}},
        CommandCase{"MidiOmniAgain", "0703", "0700", {{25, 0}}},
        CommandCase{"FootswitchChangePresetAndBypass", "", "080101", {{4, 3}}},
        CommandCase{"FootswitchBypassBoth", "", "080001", {{4, 1}}},
        CommandCase{"FootswitchChangePresetBoth", "", "080100", {{4, 2}}},
        CommandCase{"TuningDropDMinusTwo", "", "0902FE", {{5, 2}, {6, 0xFE}}},
        CommandCase{"BypassOn", "", "0D01", {{22, 1}}},
        CommandCase{"BypassOff", "0D01", "0D00", {{22, 0}}},
        CommandCase{"StoreBypassStatus", "", "1001", {{23, 1}}},
        CommandCase{"DoNotStoreBypassStatusReportsZero", "1001", "10FF", {{23, 0}}},
        CommandCase{"InstrumentLow", "", "0FBA0203040506B3", {{24, 186}}},
        CommandCase{"InstrumentStandardAgain", "0FBA0203040506B3", "0FFF0102030405F1",
                    {{24, 255}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct IgnoredCase {
    const char* name;
    const char* message;
    const char* event;
};

class IgnoredMessage : public ::testing::TestWithParam<IgnoredCase> {};

TEST_P(IgnoredMessage, ChangesNothingAndIsLogged) {
    const IgnoredCase& c = GetParam();
    PedalSimulator pedal;
    const auto before = pedal.statusNumbers();
    Send(pedal, c.message);
    EXPECT_EQ(pedal.statusNumbers(), before);
    EXPECT_FALSE(pedal.state().inBootloader);
    EXPECT_EQ(pedal.hostReadable(), 0u);
    EXPECT_TRUE(AnyEventContains(pedal, c.event)) << pedal.events().back();
    EXPECT_EQ(RequestStatus(pedal).size(), 102u) << "the next message is framed as usual";
}

INSTANTIATE_TEST_SUITE_P(
    BadMessages, IgnoredMessage,
    ::testing::Values(
        IgnoredCase{"InstrumentBadChecksum", "0FBA0203040506B4", "bad checksum B4, expected B3"},
        IgnoredCase{"InstrumentUnknownRange", "0F01020304050608", "unknown instrument range"},
        IgnoredCase{"UnknownParameterAddress", "011234003FC000", "unknown address 1234"},
        IgnoredCase{"SlotWithoutReportedParameter", "01004100400000", "not reported"},
        IgnoredCase{"MidiChannelSeventeen", "0711", "MIDI channel out of range"},
        IgnoredCase{"FootswitchChoiceTwo", "080200", "footswitch choice out of range"},
        IgnoredCase{"TuningNine", "090900", "tuning out of range"},
        IgnoredCase{"SemitonesMinusSix", "0902FA", "tuning out of range"},
        IgnoredCase{"BypassTwo", "0D02", "bypass neither on nor off"},
        IgnoredCase{"BypassStorageTwo", "1002", "bypass storage neither 01 nor FF"},
        IgnoredCase{"AlmostEnterBootloader", "0500010203040507",
                    "not the enter-bootloader message"},
        IgnoredCase{"EraseWithoutChip", "0B52000000", "no EEPROM at that address"},
        IgnoredCase{"DumpWithoutChip", "0C5200000000", "no EEPROM at that address"},
        IgnoredCase{"UnknownCommand", "06", "ignored 06: unknown command"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParameterSteps, RoundTheReceivedFractionToTheReportedStep) {
    struct Case {
        std::size_t parameter;
        std::uint32_t received;
        std::uint32_t reported;
    };
    const Case cases[] = {
        {5, 0, 0},          {5, 0x003FC000, 12}, {5, 0x007FE000, 24}, {5, 0x00800000, 24},
        {5, 0xFFFFFFFF, 24}, {5, 0x0002A000, 0},  {5, 0x0002C000, 1},  {6, 0x003FC000, 8},
        {6, 0x007FE000, 16}, {9, 0x003FC000, 11}, {9, 0x007FE000, 22}, {0, 0x003FC000, 0x003FC000},
        {18, 0xFFFFFFFF, 0xFFFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportedValue(c.parameter, c.received), c.reported)
            << ParameterName(c.parameter) << " " << std::hex << c.received;
}

TEST(ParameterSteps, EveryDialValueGivesAStepInRangeThatNeverGoesDown) {
    for (const auto& [parameter, steps] : {std::pair{5u, 24u}, {6u, 16u}, {9u, 22u}}) {
        std::uint32_t previous = 0;
        for (std::uint32_t n = 0; n < 1024; ++n) {
            const std::uint32_t step = ReportedValue(parameter, n << 13);
            EXPECT_LE(step, steps);
            EXPECT_GE(step, previous);
            previous = step;
        }
        EXPECT_EQ(previous, steps) << "the top of the dial reaches the last step";
    }
}

TEST(ParameterAddresses, FollowTheSlotMapping) {
    PedalSimulator pedal;
    const auto table = BuiltInAddressTable();
    for (std::size_t slot = 0; slot < kAddressSlotCount; ++slot) {
        const auto parameter = ParameterOfSlot(slot);
        if (!parameter) continue;
        const std::uint32_t value = 0x00010000u * static_cast<std::uint32_t>(slot + 1);
        Send(pedal, "01" + protocol::HexWord16(table[slot]) + protocol::HexWord32(value));
        EXPECT_EQ(pedal.state().parameters[*parameter], ReportedValue(*parameter, value))
            << "slot " << slot;
    }
    EXPECT_FALSE(ParameterOfSlot(10));
    EXPECT_FALSE(ParameterOfSlot(11));
    EXPECT_EQ(ParameterOfSlot(9), 9u);
    EXPECT_EQ(ParameterOfSlot(12), 10u);
    EXPECT_EQ(ParameterOfSlot(20), 18u);
    EXPECT_FALSE(ParameterOfSlot(21));
}

}  // namespace
}  // namespace varkunda::sim
