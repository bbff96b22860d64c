#include "protocol/ReplyDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace varkunda::protocol;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> Decode(std::string_view text) { return DecodeReplyNumbers(Bytes(text)); }

struct DecodeCase {
    const char* what;
    std::vector<std::uint8_t> reply;
    std::vector<std::uint8_t> expected;
};

class DecodeReplyNumbersTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeReplyNumbersTable, DecodesOneValuePerLine) {
    EXPECT_EQ(DecodeReplyNumbers(GetParam().reply), GetParam().expected) << GetParam().what;
}

std::vector<std::uint8_t> WithFirstByte(std::uint8_t first, std::string_view rest) {
    return Bytes(std::string(1, static_cast<char>(first)) + std::string(rest));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DecodeReplyNumbersTable,
    testing::Values(
        DecodeCase{"one to three digits", Bytes("12\r\n0\r\n255\r\n"), {12, 0, 255}},
        DecodeCase{"above 255 taken modulo 256", Bytes("300\r\n999\r\n"), {44, 231}},
        DecodeCase{"four digits repeat the previous value", Bytes("7\r\n1234\r\n8\r\n"), {7, 7, 8}},
        DecodeCase{"empty line repeats the previous value", Bytes("5\r\n\r\n"), {5, 5}},
        DecodeCase{"nothing before an unreadable line gives 0", Bytes("1234\r\n\r\n"), {0, 0}},
        DecodeCase{"no CR or LF gives nothing", Bytes("123"), {}},
        DecodeCase{"LF alone ends no line", Bytes("5\n6\n"), {}},
        DecodeCase{"CR alone ends a line", Bytes("5\r6\r"), {5, 6}},
        DecodeCase{"unfinished last number gives nothing", Bytes("5\r\n12"), {5}},
        DecodeCase{"zero bytes add nothing", std::vector<std::uint8_t>{'5', '\r', '\n', 0, 0, 0}, {5}},
        DecodeCase{"';' inside a number repeats the previous value", Bytes("9\r\n1;2\r\n3\r\n"), {9, 9, 3}},
        DecodeCase{"'<' and '?' inside a number too", Bytes("9\r\n<\r\n1?\r\n"), {9, 9, 9}},
        DecodeCase{"':' marks a line start like LF", Bytes("1:2\r\n"), {2}},
        DecodeCase{"first byte 0xAB skips its first digit", WithFirstByte(0xAB, "42\r\n7\r\n"), {0, 7}},
        DecodeCase{"first byte 0xA0 skips its first digit", WithFirstByte(0xA0, "\n7\r\n"), {7}},
        DecodeCase{"first byte 0xAD ends a line at once", WithFirstByte(0xAD, "\n7\r\n"), {0, 7}},
        DecodeCase{"empty reply", {}, {}}));

TEST(DecodeReplyNumbers, EveryByteValueRoundTrips) {
    std::string reply;
    for (int value = 0; value < 256; ++value) reply += std::to_string(value) + "\r\n";
    const auto values = Decode(reply);
    ASSERT_EQ(values.size(), 256u);
    for (int value = 0; value < 256; ++value) EXPECT_EQ(values[value], value);
}

TEST(DecodeReplyNumbers, DecodesOnlyTheBytesOfThisReply) {
    // The receive buffer still holds a longer, older reply behind the new one.
    const auto buffer = Bytes("7\r\n1\r\n2\r\n3\r\n");
    const auto fresh = Bytes("9\r\n");
    std::vector<std::uint8_t> received = buffer;
    std::copy(fresh.begin(), fresh.end(), received.begin());
    EXPECT_EQ(DecodeReplyNumbers(std::span(received).first(fresh.size())),
              (std::vector<std::uint8_t>{9}));
}

TEST(DecodeReplyNumbers, AReplyReadInPiecesDecodesInArrivalOrder) {
    const auto first = Bytes("12\r");
    const auto second = Bytes("\n34\r\n");
    std::vector<std::uint8_t> reply = first;
    reply.insert(reply.end(), second.begin(), second.end());
    EXPECT_EQ(DecodeReplyNumbers(reply), (std::vector<std::uint8_t>{12, 34}));
}

TEST(CountReplyLines, CountsOnlyCompleteCrLfPairs) {
    EXPECT_EQ(CountReplyLines(Bytes("1\r\n2\r\n")), 2u);
    EXPECT_EQ(CountReplyLines(Bytes("1\r\n2\r")), 1u);
    EXPECT_EQ(CountReplyLines(Bytes("\r\r\n\n")), 1u);
    EXPECT_EQ(CountReplyLines(Bytes("\n\r5")), 0u);
    EXPECT_EQ(CountReplyLines({}), 0u);
}

}  // namespace
