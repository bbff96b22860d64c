#include "protocol/StatusReply.h"

#include "protocol/ReplyDecoder.h"

#include <gtest/gtest.h>

#include <string>

using namespace varkunda::protocol;

namespace {

// A reply as a current pedal sends it, with a distinct value in every field.
std::vector<std::uint8_t> SampleNumbers() {
    std::vector<std::uint8_t> numbers = {
        13, 0, 20, 0,                   // firmware, algorithm, effect
        3, 1, 0xFB,                     // footswitch mode, tuning, semitones -5
        1, 0, 1, 0, 1,                  // assignment flags
        0x00, 0xC6, 0xFF, 0xFF, 0x00, 0x0E, 0xFF, 0xFF, 0xFF, 0xFD,
        1, 0, 186, 255};                // bypass, store bypass, range, MIDI
    for (std::uint8_t i = 0; i < 19; ++i) {
        const std::uint8_t word[] = {0x00, i, 0xC0, static_cast<std::uint8_t>(0x10 + i)};
        numbers.insert(numbers.end(), std::begin(word), std::end(word));
    }
    return numbers;
}

TEST(StatusReply, ParsesEveryFieldOfTheLayout) {
    const auto reply = ParseStatusReply(SampleNumbers());
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->firmware, 13);
    EXPECT_EQ(reply->algorithmHigh, 0);
    EXPECT_EQ(reply->algorithmLow, 20);
    EXPECT_EQ(reply->effectNumber, 0);
    EXPECT_EQ(reply->footswitchMode, 3);
    EXPECT_EQ(reply->tuning, 1);
    EXPECT_EQ(reply->semitoneVariation, -5);
    EXPECT_EQ(reply->assignmentFlags, (std::array<std::uint8_t, 5>{1, 0, 1, 0, 1}));
    EXPECT_EQ(reply->assignmentFields,
              (std::array<std::uint16_t, 5>{0x00C6, 0xFFFF, 0x000E, 0xFFFF, 0xFFFD}));
    EXPECT_EQ(reply->bypass, 1);
    EXPECT_EQ(reply->storeBypassStatus, 0);
    EXPECT_EQ(reply->instrumentRange, 186);
    EXPECT_EQ(reply->midiChannel, 255);
    EXPECT_EQ(reply->parameters[0], 0x0000C010u);
    EXPECT_EQ(reply->parameters[9], 0x0009C019u);
    EXPECT_EQ(reply->parameters[18], 0x0012C022u);
}

TEST(StatusReply, EncodingGivesBackTheNumbersItWasParsedFrom) {
    const auto numbers = SampleNumbers();
    EXPECT_EQ(EncodeStatusReplyNumbers(*ParseStatusReply(numbers)), numbers);
}

TEST(StatusReply, ShortRepliesAreRefusedAndExtraNumbersIgnored) {
    auto numbers = SampleNumbers();
    EXPECT_FALSE(ParseStatusReply(std::span(numbers).first(kStatusReplyLength - 1)).has_value());
    EXPECT_FALSE(ParseStatusReply({}).has_value());
    const auto expected = ParseStatusReply(numbers);
    numbers.push_back(77);
    EXPECT_EQ(ParseStatusReply(numbers), expected);
}

TEST(StatusReply, DecodesFromTheTextThePedalSends) {
    std::string text;
    for (std::uint8_t number : SampleNumbers()) text += std::to_string(number) + "\r\n";
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    EXPECT_EQ(CountReplyLines(bytes), kStatusReplyLength);
    EXPECT_EQ(ParseStatusReply(DecodeReplyNumbers(bytes)), ParseStatusReply(SampleNumbers()));
}

TEST(StatusReply, VersionTexts) {
    StatusReply reply;
    EXPECT_EQ(reply.FirmwareVersionText(), "0");
    reply.firmware = 13;
    reply.algorithmLow = 20;
    EXPECT_EQ(reply.FirmwareVersionText(), "13");
    EXPECT_EQ(reply.AlgorithmVersionText(), "0014");
    EXPECT_EQ(reply.EffectNumberText(), "00");
    reply.algorithmLow = 32;
    reply.effectNumber = 10;
    EXPECT_EQ(reply.AlgorithmVersionText(), "0020");
    EXPECT_EQ(reply.EffectNumberText(), "0A");
    reply.algorithmHigh = 0xAB;
    EXPECT_EQ(reply.AlgorithmVersionText(), "AB20");
}

TEST(ParseDecimalDigits, ReadsDecimalTextAndRefusesAnythingElse) {
    const std::pair<std::string_view, std::optional<std::uint32_t>> cases[] = {
        {"0014", 14u},        {"0020", 20u},      {"13", 13u},  {"  13", 13u},
        {"\t7", 7u},          {"4294967295", 4294967295u},
        {"0A", std::nullopt}, {"", std::nullopt}, {"   ", std::nullopt},
        {"13 ", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
        {"4294967296", std::nullopt}, {"99999999999999999999", std::nullopt}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseDecimalDigits(text), expected) << '"' << text << '"';
}

}  // namespace
