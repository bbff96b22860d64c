#include "link/StatusRequest.h"

#include <gtest/gtest.h>

#include "link/backends/SimulatedD2xx.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using varkunda::sim::Fault;

namespace {

// The status request against the in-process software pedal, on the fake clock.
class StatusRequestTest : public ::testing::Test {
protected:
    StatusRequestTest() {
        access.setErrorReporter([this](const std::string& text) { reports.push_back(text); });
        access.Open_USB_Device_By_Serial_Number(device.pedal(0)->identity().serialNumber);
        access.SetLineParameters(LineMode::NormalLine);
        access.SetDeviceBaudRate();
        access.SetDeviceDataCharacteristics();
    }

    LinkLog RecordingLog() {
        LinkLog recording;
        recording.print = [this](const std::string& line) { printed.push_back(line); };
        return recording;
    }

    std::vector<std::uint8_t> WireBytes() { return device.pedal(0)->hostBytes(); }

    SimulatedD2xx device;
    D2xxAccess access{device};
    FakeLinkEnvironment environment;
    std::vector<std::string> reports, printed;
    Transport transport{access, environment, RecordingLog()};
};

TEST_F(StatusRequestTest, AnAnsweringPedalGivesItsParsedState) {
    device.pedal(0)->state().midiChannel = 5;
    const auto expected = device.pedal(0)->statusNumbers();

    const StatusOutcome outcome = RequestStatus(transport);

    ASSERT_TRUE(outcome.ok()) << outcome.message;
    EXPECT_EQ(outcome.error, StatusError::None);
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
    device.pedal(0)->injectFault(Fault::ShortReply, 40);
    const StatusOutcome outcome = RequestStatus(transport);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error, StatusError::Incomplete);
    EXPECT_EQ(outcome.message, "The pedal's status reply was incomplete (40 of 102 numbers).");
    EXPECT_EQ(outcome.numbers.size(), 40u);
    EXPECT_EQ(WireBytes(), (std::vector<std::uint8_t>{0x02, 0x00}));
}

TEST_F(StatusRequestTest, ASilentPedalNeverHandsBackTheEarlierReply) {
    ASSERT_TRUE(RequestStatus(transport).ok());
    device.pedal(0)->injectFault(Fault::Silence);
    const auto before = environment.now();

    const StatusOutcome outcome = RequestStatus(transport);

    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error, StatusError::NoReply);
    EXPECT_EQ(outcome.message, "The pedal did not answer the status request in time.");
    EXPECT_TRUE(outcome.numbers.empty());
    EXPECT_LE(environment.now() - before, kStatusReplyPause + kFirstByteTimeout + 10ms);
    EXPECT_EQ(WireBytes(), (std::vector<std::uint8_t>{0x02, 0x00, 0x02, 0x00}));
}

TEST_F(StatusRequestTest, NoOpenDeviceEndsAtOnceWithAClearMessage) {
    access.CloseDevice();
    access.ErrorReportsOn = false;
    const StatusOutcome outcome = RequestStatus(transport);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error, StatusError::WriteFailed);
    EXPECT_EQ(outcome.message, "The status request could not be sent to the pedal.");
    EXPECT_TRUE(WireBytes().empty());
    EXPECT_EQ(environment.totalSlept(), 0ms);
}

TEST_F(StatusRequestTest, APedalUnpluggedAfterTheRequestIsAQueueFailure) {
    device.pedal(0)->injectFault(Fault::UnplugAfterBytes, 2);
    access.ErrorReportsOn = false;
    const StatusOutcome outcome = RequestStatus(transport);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error, StatusError::QueueFailed);
    EXPECT_EQ(outcome.message,
              "The pedal could not be read: the device is not open or was unplugged.");
}

}  // namespace
