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

TEST_F(Pacing, ReplyBytesBecomeReadableOneByOneAfterTheUsbLatency) {
    const auto start = now;
    Send(pedal, "0200");
    const auto answered = start + 2 * kByteNoParity;
    now = answered + kByteNoParity + kLatency - nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now += nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 1u);
    now += kByteNoParity;
    EXPECT_EQ(pedal.hostReadable(), 2u);

    const std::size_t length = DecimalLines(pedal.statusNumbers()).size();
    now = answered + static_cast<long>(length) * kByteNoParity + kLatency - nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), length - 1);
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
    now = start + 2 * kByteEvenParity + kLatency - nanoseconds(1);
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

TEST_F(Pacing, PurgeToHostDropsOnlyWhatHasArrived) {
    Send(pedal, "0200");
    now += 2 * kByteNoParity + kLatency + 10 * kByteNoParity;
    const std::size_t arrived = pedal.hostReadable();
    ASSERT_EQ(arrived, 10u);
    pedal.purgeToHost();
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now += std::chrono::milliseconds(100);
    EXPECT_EQ(pedal.hostReadable(), DecimalLines(pedal.statusNumbers()).size() - arrived);
}

TEST_F(Pacing, SwitchingPacingOffDeliversEverythingAtOnce) {
    Send(pedal, "0200");
    pedal.setPacing(false);
    EXPECT_EQ(DecimalNumbers(ReadAll(pedal)).size(), 102u);
}

TEST(NoPacing, IsTheDefaultAndNeedsNoTime) {
    PedalSimulator::Clock::time_point frozen{};
    PedalSimulator pedal;
    pedal.setClock([&frozen] { return frozen; });
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

}  // namespace
}  // namespace varkunda::sim
