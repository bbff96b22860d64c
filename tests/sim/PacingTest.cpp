#include <gtest/gtest.h>

#include "PedalTestSupport.h"
#include "sim/StatusReply.h"

namespace varkunda::sim {
namespace {

using namespace testing;
using std::chrono::microseconds;
using std::chrono::nanoseconds;

constexpr nanoseconds kByteNoParity{86805};    // 10 bits at 115200 baud
constexpr nanoseconds kByteEvenParity{95486};  // 11 bits
constexpr microseconds kLatency{1000};
constexpr std::chrono::milliseconds kTimer{16};  // the bridge's latency timer, by default
constexpr long kPacket = 62;                     // bytes the bridge passes on without waiting

class Pacing : public ::testing::Test {
  protected:
    void SetUp() override {
        pedal.setClock([this] { return now; });
        pedal.setPacing(true, kLatency);
    }

    PedalSimulator::Clock::time_point now{std::chrono::seconds(5)};
    PedalSimulator pedal;
};

TEST_F(Pacing, HostBytesReachThePedalAfterTheirWireTime) {
    const auto start = now;
    Send(pedal, "070A");
    now = start + 2 * kByteNoParity - nanoseconds(1);
    EXPECT_EQ(pedal.state().midiChannel, 0);
    now = start + 2 * kByteNoParity;
    EXPECT_EQ(pedal.state().midiChannel, 10);
}

TEST_F(Pacing, ReplyBytesComeInPacketsOfSixtyTwoAndTheTailAfterTheLatencyTimer) {
    const auto start = now;
    Send(pedal, "0200");
    const auto answered = start + 2 * kByteNoParity;
    const auto bytes = [&](long count) { return answered + count * kByteNoParity + kLatency; };
    now = bytes(kPacket) - nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now += nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 62u);
    now = bytes(2 * kPacket);
    EXPECT_EQ(pedal.hostReadable(), 124u);

    const long length = static_cast<long>(DecimalLines(pedal.statusNumbers()).size());
    const long packed = length / kPacket * kPacket;
    ASSERT_LT(packed, length) << "the reply ends in a packet the timer sends";
    now = bytes(packed + 1) + kTimer - nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), static_cast<std::size_t>(packed));
    now += nanoseconds(1);
    EXPECT_EQ(DecimalNumbers(ReadAll(pedal)).size(), 102u);
}

TEST_F(Pacing, CountsWhatIsStillOnItsWay) {
    const auto start = now;
    Send(pedal, "0200");
    EXPECT_EQ(pedal.bytesInFlight(), 2u);
    now = start + kByteNoParity;
    EXPECT_EQ(pedal.bytesInFlight(), 1u);
    const std::size_t length = DecimalLines(pedal.statusNumbers()).size();
    now = start + 2 * kByteNoParity;
    EXPECT_EQ(pedal.bytesInFlight(), length);
    now += std::chrono::seconds(1);
    EXPECT_EQ(pedal.bytesInFlight(), 0u);
    EXPECT_EQ(pedal.hostReadable(), length);
}

TEST_F(Pacing, WritesQueueBehindTheBytesStillOnTheWire) {
    const auto start = now;
    Send(pedal, "070A");
    Send(pedal, "0D01");
    now = start + 3 * kByteNoParity;
    EXPECT_EQ(pedal.state().midiChannel, 10);
    EXPECT_EQ(pedal.state().bypass, 0);
    now = start + 4 * kByteNoParity;
    EXPECT_EQ(pedal.state().bypass, 1);
}

TEST_F(Pacing, ParityAddsABitToEveryByte) {
    pedal.setPacing(false);
    Send(pedal, "0500010203040506");
    pedal.setPacing(true, kLatency);
    LineSettings even;
    even.parity = 2;
    pedal.setLineSettings(even);
    const auto start = now;
    Send(pedal, "7F");
    now = start + 2 * kByteEvenParity + kTimer + kLatency - nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now += nanoseconds(1);
    EXPECT_EQ(ReadAll(pedal), Bytes("79"));
}

TEST_F(Pacing, PurgeFromHostDropsBytesStillOnTheWire) {
    Send(pedal, "070A");
    now += kByteNoParity;
    pedal.purgeFromHost();
    now += std::chrono::milliseconds(10);
    EXPECT_EQ(pedal.state().midiChannel, 0);
    Send(pedal, "0A");  // the pedal took 07 and still waits for its channel
    now += std::chrono::milliseconds(10);
    EXPECT_EQ(pedal.state().midiChannel, 10);
}

TEST_F(Pacing, PurgeToHostDropsWhatHasCrossedTheWireAndKeepsTheRest) {
    Send(pedal, "0200");
    now += 2 * kByteNoParity + (kPacket + 10) * kByteNoParity;
    ASSERT_EQ(pedal.hostReadable(), 0u) << "the first packet is still on its way over USB";
    ASSERT_EQ(pedal.bytesInFlight(), DecimalLines(pedal.statusNumbers()).size());
    pedal.purgeToHost();
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now += std::chrono::milliseconds(100);
    EXPECT_EQ(pedal.hostReadable(), DecimalLines(pedal.statusNumbers()).size() - 72)
        << "the packet in transit and the 10 bytes the bridge held are gone";
}

TEST_F(Pacing, SwitchingPacingOffDeliversEverythingAtOnce) {
    Send(pedal, "0200");
    pedal.setPacing(false);
    EXPECT_EQ(DecimalNumbers(ReadAll(pedal)).size(), 102u);
}

class BridgeLatency : public Pacing {
  protected:
    void SetUp() override {
        Pacing::SetUp();
        pedal.replug(true);
        LineSettings even;
        even.parity = 2;
        pedal.setLineSettings(even);
    }
    // Sends `hex` and returns when its last byte has reached the pedal.
    PedalSimulator::Clock::time_point send(std::string_view hex) {
        const auto start = now;
        Send(pedal, hex);
        return start + static_cast<long>(hex.size() / 2) * kByteEvenParity;
    }
};

TEST_F(BridgeLatency, AOneByteAnswerWaitsForTheLatencyTimer) {
    for (const auto timer : {kTimer, std::chrono::milliseconds(2)}) {
        SCOPED_TRACE(timer.count());
        pedal.replug(true);
        if (timer != kTimer) {
            ASSERT_TRUE(pedal.setLatencyTimer(timer));
        }
        const auto atBridge = send("7F") + kByteEvenParity;
        now = atBridge + timer + kLatency - nanoseconds(1);
        EXPECT_EQ(pedal.hostReadable(), 0u);
        now += nanoseconds(1);
        EXPECT_EQ(ReadAll(pedal), Bytes("79"));
    }
}

TEST_F(BridgeLatency, SixtyTwoBytesGoWithoutWaiting) {
    now = send("7F") + std::chrono::seconds(1);
    ReadAll(pedal);
    send("11EE");
    now = send("0800000008") + std::chrono::seconds(1);
    ASSERT_EQ(ReadAll(pedal), Bytes("7979"));
    const auto asked = send("3CC3");  // 61 bytes: with the ACK, one full packet
    const auto full = asked + kPacket * kByteEvenParity + kLatency;
    now = full - nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now = full;
    const auto answer = ReadAll(pedal);
    ASSERT_EQ(answer.size(), 62u);
    EXPECT_EQ(std::vector<std::uint8_t>(answer.begin() + 1, answer.end()),
              pedal.readFlash(kFlashStart, 61));
}

TEST(LatencyTimer, TakesOneTo255MillisecondsAndIsSixteenAgainAfterAReplug) {
    PedalSimulator pedal;
    EXPECT_EQ(pedal.latencyTimer(), std::chrono::milliseconds(16));
    EXPECT_FALSE(pedal.setLatencyTimer(std::chrono::milliseconds(0)));
    EXPECT_FALSE(pedal.setLatencyTimer(std::chrono::milliseconds(256)));
    EXPECT_EQ(pedal.latencyTimer(), std::chrono::milliseconds(16));
    EXPECT_TRUE(pedal.setLatencyTimer(std::chrono::milliseconds(1)));
    EXPECT_TRUE(pedal.setLatencyTimer(std::chrono::milliseconds(255)));
    EXPECT_EQ(pedal.latencyTimer(), std::chrono::milliseconds(255));
    pedal.replug();
    EXPECT_EQ(pedal.latencyTimer(), std::chrono::milliseconds(16));
}

TEST(NoPacing, IsTheDefaultAndNeedsNoTime) {
    PedalSimulator::Clock::time_point frozen{};
    PedalSimulator pedal;
    pedal.setClock([&frozen] { return frozen; });
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

}  // namespace
}  // namespace varkunda::sim
