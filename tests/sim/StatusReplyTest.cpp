#include <gtest/gtest.h>

#include "PedalTestSupport.h"
#include "sim/ParameterMap.h"

namespace varkunda::sim {
namespace {

using namespace testing;

TEST(StatusReply, IsOneHundredAndTwoDecimalLines) {
    PedalSimulator pedal;
    Send(pedal, "0200");
    const auto text = ReadAll(pedal);
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text[0], '1');
    EXPECT_EQ(text[1], '3');
    EXPECT_EQ(text[2], '\r');
    EXPECT_EQ(text[3], '\n');
    EXPECT_EQ(text[text.size() - 2], '\r');
    EXPECT_EQ(text.back(), '\n');
    const auto numbers = DecimalNumbers(text);
    ASSERT_EQ(numbers.size(), 102u);
    for (int number : numbers) EXPECT_TRUE(number >= 0 && number <= 255);
}

TEST(StatusReply, ReportsTheFactorySettings) {
    PedalSimulator pedal;
    const auto numbers = RequestStatus(pedal);
    ASSERT_EQ(numbers.size(), 102u);
    EXPECT_EQ(numbers[0], 13);
    EXPECT_EQ(numbers[1], 0x00);
    EXPECT_EQ(numbers[2], 0x14);  // "0014"
    EXPECT_EQ(numbers[3], 0x00);
    EXPECT_EQ(numbers[4], 0);   // footswitch mode
    EXPECT_EQ(numbers[5], 0);   // no tuning
    EXPECT_EQ(numbers[6], 0);   // no semitone variation
    for (std::size_t i = 7; i <= 11; ++i) EXPECT_EQ(numbers[i], 0) << i;
    for (std::size_t i = 12; i <= 21; ++i) EXPECT_EQ(numbers[i], 0xFF) << i;
    EXPECT_EQ(numbers[22], 0);    // bypass off
    EXPECT_EQ(numbers[23], 0);    // bypass status not stored
    EXPECT_EQ(numbers[24], 255);  // Standard range
    EXPECT_EQ(numbers[25], 0);    // OMNI
    EXPECT_EQ(Parameter(numbers, 4), 0x00600000u);  // Wave off
    EXPECT_EQ(Parameter(numbers, 5), 12u);          // Low Pass as a step
    EXPECT_EQ(Parameter(numbers, 11), 0x00400000u);  // harmonic pitch 0 semitones
    for (std::size_t i = 0; i < kParameterCount; ++i)
        EXPECT_EQ(Parameter(numbers, i), pedal.state().parameters[i]) << i;
}

TEST(StatusReply, ReportsTheIdentityAsPackedDecimal) {
    struct Case {
        std::uint8_t firmware;
        std::uint16_t algorithm;
        std::uint8_t effect;
        int byte1, byte2, byte3;
    };
    const Case cases[] = {
        {13, 14, 0, 0x00, 0x14, 0x00},
        {12, 19, 12, 0x00, 0x19, 0x12},
        {9, 1234, 99, 0x12, 0x34, 0x99},
        {200, 20, 7, 0x00, 0x20, 0x07},
    };
    for (const Case& c : cases) {
        PedalIdentity identity;
        identity.firmware = c.firmware;
        identity.algorithmNumber = c.algorithm;
        identity.effectIndex = c.effect;
        PedalSimulator pedal(identity);
        const auto numbers = RequestStatus(pedal);
        ASSERT_EQ(numbers.size(), 102u);
        EXPECT_EQ(numbers[0], c.firmware);
        EXPECT_EQ(numbers[1], c.byte1) << c.algorithm;
        EXPECT_EQ(numbers[2], c.byte2) << c.algorithm;
        EXPECT_EQ(numbers[3], c.byte3) << int{c.effect};
    }
}

TEST(StatusReply, FollowsTheStateAsTheTestSetsIt) {
    PedalSimulator pedal;
    auto& state = pedal.state();
    state.semitoneVariation = -5;
    state.assignmentFields[4] = 0xFFFD;
    state.parameters[18] = 0x12345678;
    const auto numbers = RequestStatus(pedal);
    EXPECT_EQ(numbers[6], 0xFB);
    EXPECT_EQ(numbers[20], 0xFF);
    EXPECT_EQ(numbers[21], 0xFD);
    EXPECT_EQ(Parameter(numbers, 18), 0x12345678u);
    const auto expected = pedal.statusNumbers();
    EXPECT_EQ(numbers, std::vector<int>(expected.begin(), expected.end()));
}

TEST(StatusReply, OnlyTwoZeroIsARequest) {
    PedalSimulator pedal;
    Send(pedal, "0201");
    EXPECT_EQ(pedal.hostReadable(), 0u);
    EXPECT_TRUE(AnyEventContains(pedal, "ignored 0201"));
}

}  // namespace
}  // namespace varkunda::sim
