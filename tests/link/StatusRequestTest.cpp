#include <gtest/gtest.h>

#include "LinkFixture.h"
#include "link/StatusRequest.h"
#include "link/backends/SimulatedD2xx.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using varkunda::sim::Fault;

namespace {

// The status request against the in-process software pedal, on the fake clock.
class StatusRequestTest : public varkunda::link::testing::LinkFixture<SimulatedD2xx> {
  protected:
    StatusRequestTest() {
        access.Open_USB_Device_By_Serial_Number(pedal().identity().serialNumber);
        access.SetLineParameters(LineMode::NormalLine);
        access.SetDeviceBaudRate();
        access.SetDeviceDataCharacteristics();
    }

    varkunda::sim::PedalSimulator& pedal() { return *driver.pedal(0); }
    std::vector<std::uint8_t> WireBytes() { return pedal().hostBytes(); }
};

TEST_F(StatusRequestTest, AnAnsweringPedalGivesItsParsedState) {
    pedal().state().midiChannel = 5;
    const auto expected = pedal().statusNumbers();

    const StatusOutcome outcome = RequestStatus(transport);

    ASSERT_TRUE(outcome.ok());
    EXPECT_FALSE(outcome.error);
    EXPECT_EQ(outcome.numbers, expected);
    EXPECT_EQ(outcome.reply->FirmwareVersionText(), "13");
    EXPECT_EQ(outcome.reply->AlgorithmVersionText(), "0014");
    EXPECT_EQ(outcome.reply->EffectNumberText(), "00");
    EXPECT_EQ(outcome.reply->midiChannel, 5);
    EXPECT_EQ(WireBytes(), (std::vector<std::uint8_t>{0x02, 0x00}));
    EXPECT_GE(environment.totalSlept(), kStatusReplyPause);
    // The request itself is not logged; the decoded reply is.
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed[0], "num of bytes received: 102");
    EXPECT_EQ(printed[1], "received_bytes_array size: 102");
    EXPECT_EQ(printed[2], "0:    0D");
    EXPECT_EQ(printed.size(), 2u + 102u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(StatusRequestTest, AShortReplyIsAFaultNotAState) {
    pedal().injectFault(Fault::ShortReply, 40);
    const StatusOutcome outcome = RequestStatus(transport);
    EXPECT_FALSE(outcome.ok());
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, LinkErrorKind::IncompleteReply);
    EXPECT_EQ(outcome.error->reached, 40u);
    EXPECT_EQ(outcome.error->expected, 102u);
    EXPECT_EQ(outcome.numbers.size(), 40u);
    EXPECT_EQ(WireBytes(), (std::vector<std::uint8_t>{0x02, 0x00}));
}

TEST_F(StatusRequestTest, ASilentPedalNeverHandsBackTheEarlierReply) {
    ASSERT_TRUE(RequestStatus(transport).ok());
    pedal().injectFault(Fault::Silence);
    const auto before = environment.now();

    const StatusOutcome outcome = RequestStatus(transport);

    EXPECT_FALSE(outcome.ok());
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, LinkErrorKind::NoReply);
    EXPECT_TRUE(outcome.numbers.empty());
    EXPECT_LE(environment.now() - before, kStatusReplyPause + kFirstByteTimeout + 10ms);
    EXPECT_EQ(WireBytes(), (std::vector<std::uint8_t>{0x02, 0x00, 0x02, 0x00}));
}

TEST_F(StatusRequestTest, NoOpenDeviceEndsAtOnceWithAClearMessage) {
    access.CloseDevice();
    access.ErrorReportsOn = false;
    const StatusOutcome outcome = RequestStatus(transport);
    EXPECT_FALSE(outcome.ok());
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, LinkErrorKind::RequestNotSent);
    EXPECT_EQ(outcome.error->driverStatus, ft::INVALID_HANDLE);
    EXPECT_TRUE(WireBytes().empty());
    EXPECT_EQ(environment.totalSlept(), 0ms);
}

// The pedal pulled out at each point of the request: one device-lost hand-over, nothing
// reported, no wait for a reply that cannot come.
struct UnplugCase {
    const char* name;
    std::size_t bytesTaken;  // of the request's two
    LinkErrorKind outcome;
    const char* foundBy;
};

class UnplugDuringTheRequest : public StatusRequestTest,
                               public ::testing::WithParamInterface<UnplugCase> {};

TEST_P(UnplugDuringTheRequest, IsHandedOverOnceAndEndsAtOnce) {
    const UnplugCase& c = GetParam();
    pedal().injectFault(Fault::UnplugAfterBytes, c.bytesTaken);

    const StatusOutcome outcome = RequestStatus(transport);

    EXPECT_FALSE(outcome.ok());
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, c.outcome);
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].kind, LinkErrorKind::DeviceLost);
    EXPECT_EQ(lost[0].call, c.foundBy);
    EXPECT_EQ(lost[0].driverStatus, ft::IO_ERROR);
    EXPECT_TRUE(reports.empty());
    EXPECT_LE(environment.totalSlept(), kStatusReplyPause);

    // Nothing further is reported, written or waited for.
    const auto sleptBefore = environment.totalSlept();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(RequestStatus(transport).error->kind, LinkErrorKind::RequestNotSent);
        transport.PollDeviceInput();
    }
    EXPECT_EQ(transport.Send("0D01").error->kind, LinkErrorKind::DeviceLost);
    EXPECT_EQ(environment.totalSlept(), sleptBefore);
    EXPECT_EQ(lost.size(), 1u);
    EXPECT_TRUE(reports.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Points, UnplugDuringTheRequest,
    ::testing::Values(UnplugCase{"MidWrite", 1, LinkErrorKind::RequestNotSent, "FT_Write"},
                      UnplugCase{"AfterTheRequest", 2, LinkErrorKind::ReadFailed,
                                 "FT_GetQueueStatus"}),
    [](const auto& info) { return std::string(info.param.name); });

// Plugged in again, the pedal is a new device: opened afresh, it answers as before.
TEST_F(StatusRequestTest, AfterAReplugTheLinkWorksAgain) {
    pedal().unplug();
    EXPECT_FALSE(RequestStatus(transport).ok());
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(access.GetFTDeviceCount(), ft::OK);
    EXPECT_EQ(access.DeviceCount, 0u);

    pedal().replug();
    pedal().clearWireLog();
    ASSERT_EQ(access.GetFTDeviceCount(), ft::OK);
    EXPECT_EQ(access.DeviceCount, 1u);
    EXPECT_EQ(access.CloseDevice(), ft::OK);
    ASSERT_EQ(access.Open_USB_Device_By_Serial_Number(pedal().identity().serialNumber), ft::OK);
    EXPECT_FALSE(access.DeviceLoss());
    access.SetDeviceBaudRate();
    access.SetDeviceDataCharacteristics();

    const StatusOutcome outcome = RequestStatus(transport);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.numbers, pedal().statusNumbers());
    EXPECT_EQ(WireBytes(), (std::vector<std::uint8_t>{0x02, 0x00}));
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(lost.size(), 1u);
}

// A pedal with other firmware than the software pedal's own, as the status override makes it.
TEST_F(StatusRequestTest, OverriddenNumbersComeInTheReply) {
    pedal().overrideStatusNumbers({{3, 0x0A}, {2, 0x1A}});
    const StatusOutcome outcome = RequestStatus(transport);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.reply->EffectNumberText(), "0A");
    EXPECT_EQ(outcome.reply->AlgorithmVersionText(), "001A");
}

}  // namespace
