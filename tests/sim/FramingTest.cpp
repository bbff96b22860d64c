#include <gtest/gtest.h>

#include "PedalTestSupport.h"

namespace varkunda::sim {
namespace {

using namespace testing;

// Sends the bytes in chunks of the given sizes, cycling through them.
void SendInChunks(PedalSimulator& pedal, const std::vector<std::uint8_t>& bytes,
                  const std::vector<std::size_t>& sizes) {
    std::size_t at = 0;
    for (std::size_t i = 0; at < bytes.size(); ++i) {
        const std::size_t n = std::min(sizes[i % sizes.size()], bytes.size() - at);
        pedal.hostWrite(bytes.data() + at, n);
        at += n;
    }
}

const char* kSequence =
    "070A"                              // MIDI 10
    "0100AF003FC000"                    // Low Pass
    "04010000000100C6FFFFFFFFFFFFFFFD"  // assignments
    "0FBA0203040506B3"                  // Low range
    "0D01"                              // bypass on
    "0200";                             // status request

TEST(Framing, MessagesSplitAnywhereAcrossWritesActAsWhole) {
    PedalSimulator whole;
    Send(whole, kSequence);
    const auto expected = DecimalNumbers(ReadAll(whole));
    ASSERT_EQ(expected.size(), 102u);
    EXPECT_EQ(expected[25], 10);
    EXPECT_EQ(expected[24], 186);

    for (const auto& sizes : std::vector<std::vector<std::size_t>>{{1}, {2}, {3, 1}, {5, 7, 11}}) {
        PedalSimulator pedal;
        SendInChunks(pedal, Bytes(kSequence), sizes);
        EXPECT_EQ(DecimalNumbers(ReadAll(pedal)), expected) << "chunk " << sizes[0];
    }
}

TEST(Framing, UploadLengthFieldMaySpanWrites) {
    std::vector<std::uint8_t> image{0x00, 0x00, 0x30};
    for (int i = 3; i < 0x30; ++i) image.push_back(static_cast<std::uint8_t>(i));
    const auto status = Bytes("0200");
    image.insert(image.end(), status.begin(), status.end());
    PedalSimulator pedal;
    SendInChunks(pedal, image, {1, 1, 4, 40});
    const auto reply = ReadAll(pedal);
    const std::string text(reply.begin(), reply.end());
    ASSERT_EQ(text.rfind("Upload OK\r\n", 0), 0u);
    EXPECT_EQ(DecimalNumbers({reply.begin() + 11, reply.end()}).size(), 102u);
    EXPECT_EQ(pedal.state().addressTable[0], 0x0304);
}

TEST(Framing, UnknownCommandBytesAreSkippedOneByOneAndLoggedAsOneRun) {
    PedalSimulator pedal;
    Send(pedal, "0611FF0200");
    EXPECT_EQ(DecimalNumbers(ReadAll(pedal)).size(), 102u);
    EXPECT_EQ(pedal.events(), (std::vector<std::string>{"ignored 0611FF: unknown command (3 bytes)",
                                                        "status request: answered 102 numbers"}));

    // A long run of noise stays one event however long it grows.
    pedal.clearEvents();
    Send(pedal, "06" + std::string(4000, 'F') + "0200");
    EXPECT_EQ(DecimalNumbers(ReadAll(pedal)).size(), 102u);
    EXPECT_EQ(pedal.events(),
              (std::vector<std::string>{
                  "ignored 06FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF...: unknown command (2001 bytes)",
                  "status request: answered 102 numbers"}));
}

TEST(Framing, AnUnfinishedMessageIsDroppedAfterAPause) {
    PedalSimulator::Clock::time_point now{};
    PedalSimulator pedal;
    pedal.setClock([&now] { return now; });
    Send(pedal, "0100AF00");  // four of seven bytes
    now += std::chrono::milliseconds(1001);
    Send(pedal, "0200");
    EXPECT_EQ(DecimalNumbers(ReadAll(pedal)).size(), 102u);
    EXPECT_TRUE(AnyEventContains(pedal, "dropped an unfinished message of 4 bytes starting 01"));
}

TEST(Framing, AShortPauseKeepsTheMessageTogether) {
    PedalSimulator::Clock::time_point now{};
    PedalSimulator pedal;
    pedal.setClock([&now] { return now; });
    Send(pedal, "0100AF00");
    now += std::chrono::milliseconds(999);
    Send(pedal, "1FE000");
    EXPECT_EQ(pedal.state().parameters[5], 6u);
}

TEST(Framing, TimeoutZeroWaitsForEver) {
    PedalSimulator::Clock::time_point now{};
    PedalSimulator pedal;
    pedal.setClock([&now] { return now; });
    pedal.setFramingTimeout(std::chrono::milliseconds(0));
    Send(pedal, "0100AF00");
    now += std::chrono::hours(1);
    Send(pedal, "1FE000");
    EXPECT_EQ(pedal.state().parameters[5], 6u);
}

TEST(WireLog, RecordsEveryWriteWithTheLineSettingsInForce) {
    PedalSimulator pedal;
    Send(pedal, "0D01");
    LineSettings even;
    even.parity = 2;
    pedal.setLineSettings(even);
    Send(pedal, "7F");
    ASSERT_EQ(pedal.wireLog().size(), 2u);
    EXPECT_EQ(pedal.wireLog()[0].bytes, Bytes("0D01"));
    EXPECT_EQ(pedal.wireLog()[0].line, LineSettings{});
    EXPECT_EQ(pedal.wireLog()[1].line, even);
    EXPECT_EQ(pedal.hostBytes(), Bytes("0D017F"));
    pedal.clearWireLog();
    EXPECT_TRUE(pedal.hostBytes().empty());
}

}  // namespace
}  // namespace varkunda::sim
