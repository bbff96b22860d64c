#include <gtest/gtest.h>

#include "FakeD2xx.h"
#include "LinkFixture.h"
#include "link/Transport.h"
#include "protocol/Messages.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using varkunda::link::testing::FailedCall;
using varkunda::link::testing::FakeD2xx;
using varkunda::protocol::kEepromDumpMarker;
using varkunda::protocol::kEepromSize;

namespace {

// A transport over the scripted driver and the fake clock. Every pause of the link
// delivers the driver's next scripted arrival, so "the pedal" sends while it waits.
class TransportTest : public varkunda::link::testing::LinkFixture<FakeD2xx> {
  protected:
    TransportTest() {
        environment.onSleep = [this](std::chrono::milliseconds) { driver.Deliver(); };
    }

    std::size_t CallCount(const std::string& name) const {
        return static_cast<std::size_t>(std::count(driver.calls.begin(), driver.calls.end(), name));
    }
};

TEST_F(TransportTest, AReplyInTwoReadsIsDecodedInArrivalOrderAndLogged) {
    driver.Arrive("12\r\n0\r\n25");
    driver.Arrive("5\r\n");

    const ReplyResult result = transport.ReadReply(3);

    EXPECT_TRUE(result.received());
    EXPECT_EQ(result.numbers, (std::vector<std::uint8_t>{12, 0, 255}));
    EXPECT_EQ(result.bytesReceived, 12u);
    EXPECT_EQ(transport.received_bytes_array(), result.numbers);
    EXPECT_EQ(printed,
              (std::vector<std::string>{"num of bytes received: 3", "received_bytes_array size: 3",
                                        "0:    0C", "1:    00", "2:    FF"}));
    // The transmit queue is purged once the reply starts, the receive queue at the end.
    EXPECT_EQ(CallCount("purgeTX"), 1u);
    EXPECT_EQ(driver.calls.back(), "purgeRX");
}

TEST_F(TransportTest, BytesAnEarlierLongerReadLeftInTheBufferAreNeverDecoded) {
    driver.Queue("200\r\n201\r\n202\r\n203\r\n");
    ASSERT_EQ(transport.ReadReply().numbers.size(), 4u);

    driver.Arrive("7\r\n");
    const ReplyResult result = transport.ReadReply();
    EXPECT_EQ(result.numbers, std::vector<std::uint8_t>{7});
    EXPECT_EQ(transport.received_bytes_array(), std::vector<std::uint8_t>{7});
}

TEST_F(TransportTest, SilenceEndsTheWaitAtItsTimeLimit) {
    driver.Queue("5\r\n");
    ASSERT_TRUE(transport.ReadReply(1).received());
    const auto before = environment.now();

    const ReplyResult result = transport.ReadReply(1);

    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, LinkErrorKind::NoReply);
    EXPECT_TRUE(result.numbers.empty());
    EXPECT_GE(environment.now() - before, kFirstByteTimeout);
    EXPECT_LE(environment.now() - before, kFirstByteTimeout + 10ms);
    EXPECT_EQ(transport.received_bytes_array(), std::vector<std::uint8_t>{5});
    EXPECT_GT(environment.processEventsCalls(), 100);  // the window stayed responsive
}

TEST_F(TransportTest, AFailedQueueQueryGivesUpWithoutDecodingOrPurging) {
    driver.failing = {{"getQueueStatus", ft::INVALID_HANDLE}};
    const ReplyResult result = transport.ReadReply(102);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->kind, LinkErrorKind::ReadFailed);
    EXPECT_EQ(result.error->driverStatus, ft::INVALID_HANDLE);
    EXPECT_EQ(CallCount("purgeRX") + CallCount("purgeTX"), 0u);
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(reports, std::vector<LinkError>{FailedCall("FT_GetQueueStatus", ft::INVALID_HANDLE)});
}

TEST_F(TransportTest, TheDrainEndsAsSoonAsTheExpectedLinesHaveArrived) {
    driver.Arrive("1\r\n2\r\n");
    driver.Arrive("3\r\n");
    driver.Arrive("4\r\n");  // belongs to no one: must not be waited for

    const ReplyResult result = transport.ReadReply(3);

    EXPECT_EQ(result.numbers, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_LT(environment.totalSlept(), kReplyQuietGap);
}

TEST_F(TransportTest, WithoutAnExpectedCountTheDrainEndsWhenTheLineIsQuiet) {
    driver.Arrive("1\r\n");
    driver.Arrive("2\r\n");
    const ReplyResult result = transport.ReadReply();
    EXPECT_EQ(result.numbers, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_GE(environment.totalSlept(), kReplyQuietGap);
    EXPECT_LT(environment.totalSlept(), kReplyQuietGap + 20ms);
}

TEST_F(TransportTest, APedalThatNeverStopsTalkingIsCutOffAtTheOverallLimit) {
    environment.onSleep = [this](std::chrono::milliseconds) { driver.Queue("1"); };
    driver.Queue("1");
    const ReplyResult result = transport.ReadReply(102);
    EXPECT_TRUE(result.received());
    EXPECT_TRUE(result.numbers.empty());  // no line end: nothing decoded
    EXPECT_LE(environment.now(), kReplyTimeLimit + kDrainPollInterval);
}

TEST_F(TransportTest, ReplyTextInBootloaderModeIsTheFirstByteInHex) {
    const std::uint8_t ack[] = {0x79, 0x1F};
    driver.queued.assign(std::begin(ack), std::end(ack));
    EXPECT_EQ(transport.ReadReplyText(true), "79");
    EXPECT_EQ(printed, std::vector<std::string>{"num of bytes received: 2"});
    EXPECT_EQ(environment.totalSlept(), 0ms);  // no pauses between bootloader reads
    EXPECT_TRUE(driver.queued.empty());
}

TEST_F(TransportTest, ReplyTextInNormalModeIsEveryByteReceived) {
    driver.Arrive("Install");
    driver.Arrive("ed OK");
    EXPECT_EQ(transport.ReadReplyText(false), "Installed OK");
    EXPECT_EQ(printed, std::vector<std::string>{"num of bytes received: 12"});
}

TEST_F(TransportTest, ReplyTextIsEmptyOnSilenceAndOnQueueFailure) {
    EXPECT_EQ(transport.ReadReplyText(true, 500ms), "");
    EXPECT_GE(environment.now(), 500ms);
    driver.failing = {{"getQueueStatus", ft::INVALID_HANDLE}};
    access.ErrorReportsOn = false;
    EXPECT_EQ(transport.ReadReplyText(false), "");
    EXPECT_TRUE(printed.empty());
}

TEST_F(TransportTest, AnUploadAnswerIsHandedOverReadByRead) {
    driver.Arrive("Algorithm");
    driver.Arrive(" installed");
    std::vector<std::string> reads;
    const auto onRead = [&](std::span<const std::uint8_t> bytes) {
        reads.emplace_back(bytes.begin(), bytes.end());
    };
    EXPECT_EQ(transport.ReadAnswer(kUploadAnswerTimeout, onRead), std::nullopt);
    EXPECT_EQ(reads, (std::vector<std::string>{"Algorithm", " installed"}));

    reads.clear();
    const auto before = environment.now();
    const auto silence = transport.ReadAnswer(kUploadAnswerTimeout, onRead);
    ASSERT_TRUE(silence);
    EXPECT_EQ(silence->kind, LinkErrorKind::NoReply);
    EXPECT_GE(environment.now() - before, kUploadAnswerTimeout);
    EXPECT_TRUE(reads.empty());
}

TEST_F(TransportTest, SendConvertsPurgesAndWrites) {
    const SendResult sent = transport.Send("0d01", PurgeFirst::Yes);
    EXPECT_TRUE(sent.ok());
    EXPECT_EQ(sent.bytesWritten, 2u);
    ASSERT_EQ(driver.writes.size(), 1u);
    EXPECT_EQ(driver.writes[0], (std::vector<std::uint8_t>{0x0D, 0x01}));
    EXPECT_EQ(driver.calls, (std::vector<std::string>{"purgeTX", "write"}));

    driver.calls.clear();
    transport.Send("0200");
    EXPECT_EQ(driver.calls, std::vector<std::string>{"write"});
}

// A purge drops what has not left the host yet: a message written just before gets its
// line time and the settle time to go out first; an older one is not waited for.
TEST_F(TransportTest, APurgeRightAfterAWriteLetsThatWriteLeaveFirst) {
    std::vector<std::string> callsAtSleep;
    environment.onSleep = [&](std::chrono::milliseconds) { callsAtSleep = driver.calls; };
    access.SetLineParameters(LineMode::NormalLine);  // 115 200 baud, no parity
    transport.Send("01002700400000");                // 7 bytes: 1 ms on the line
    transport.Send("0200", PurgeFirst::Yes);
    EXPECT_EQ(environment.totalSlept(), 1ms + kTransmitSettle);
    EXPECT_EQ(callsAtSleep, std::vector<std::string>{"write"}) << "the wait comes before the purge";
    EXPECT_EQ(driver.calls, (std::vector<std::string>{"write", "purgeTX", "write"}));

    environment.advance(kTransmitSettle + 1ms);
    transport.Send("0200", PurgeFirst::Yes);
    EXPECT_EQ(environment.totalSlept(), 1ms + kTransmitSettle);

    // The algorithm image, 4352 bytes, takes 378 ms to leave.
    environment.advance(kTransmitSettle + 1ms);
    transport.Send(std::string(2 * 4352, '0'));
    transport.Send("0200", PurgeFirst::Yes);
    EXPECT_EQ(environment.totalSlept(), 1ms + kTransmitSettle + 378ms + kTransmitSettle);
}

// What a send that fails gives back, and what reached the driver.
struct RefusedSendCase {
    const char* name;
    std::string text;
    std::map<std::string, FtStatus> failing;
    LinkError error;
    std::vector<std::vector<std::uint8_t>> written;
};

LinkError Refused(LinkErrorKind kind, std::size_t reached, std::size_t expected,
                  FtStatus status = ft::OK, std::string call = {}) {
    LinkError error = FailedCall(std::move(call), status, kind);
    error.reached = reached;
    error.expected = expected;
    return error;
}

class RefusedSend : public TransportTest, public ::testing::WithParamInterface<RefusedSendCase> {};

TEST_P(RefusedSend, GivesTheTypedErrorAndWritesNothingStale) {
    const RefusedSendCase& c = GetParam();
    transport.Send("0D01");
    driver.writes.clear();
    driver.failing = c.failing;

    const SendResult sent = transport.Send(c.text);

    EXPECT_FALSE(sent.ok());
    ASSERT_TRUE(sent.error);
    EXPECT_EQ(*sent.error, c.error);
    EXPECT_EQ(driver.writes, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSend,
    ::testing::Values(
        RefusedSendCase{
            "NotHexadecimal", "0F0G01", {}, Refused(LinkErrorKind::NotHexadecimal, 1, 3), {}},
        RefusedSendCase{"LongerThanTheBuffer",
                        std::string(2 * 65537, '0'),
                        {},
                        Refused(LinkErrorKind::MessageTooLong, 0, 65537),
                        {}},
        RefusedSendCase{
            "WriteRefused",
            "0D01",
            {{"write", ft::FAILED_TO_WRITE_DEVICE}},
            Refused(LinkErrorKind::WriteFailed, 0, 0, ft::FAILED_TO_WRITE_DEVICE, "FT_Write"),
            {}},
        RefusedSendCase{"DeviceGoneDuringTheWrite",
                        "0D01",
                        {{"write", ft::IO_ERROR}},
                        Refused(LinkErrorKind::DeviceLost, 0, 0, ft::IO_ERROR, "FT_Write"),
                        {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransportTest, APartialWriteSaysHowFarItGot) {
    struct HalfWriter : FakeD2xx {
        FtStatus write(FtHandle, const std::uint8_t* buffer, std::uint32_t toWrite,
                       std::uint32_t& bytesWritten) override {
            bytesWritten = toWrite / 2;
            writes.emplace_back(buffer, buffer + bytesWritten);
            return ft::OK;
        }
    } halfWriter;
    D2xxAccess halfAccess(halfWriter);
    Transport halfTransport(halfAccess, environment, LinkLog{});
    const SendResult sent = halfTransport.Send("0102030405060708");
    ASSERT_TRUE(sent.error);
    EXPECT_EQ(*sent.error, Refused(LinkErrorKind::WriteIncomplete, 4, 8));
    EXPECT_EQ(sent.bytesWritten, 4u);
}

TEST_F(TransportTest, OnceTheDeviceIsLostNothingIsWrittenOrWaitedFor) {
    driver.failing = {{"purgeTX", ft::IO_ERROR}};
    const SendResult sent = transport.Send("0200", PurgeFirst::Yes);
    ASSERT_TRUE(sent.error);
    EXPECT_EQ(sent.error->kind, LinkErrorKind::DeviceLost);
    EXPECT_EQ(sent.error->call, "FT_Purge TX");

    driver.calls.clear();
    EXPECT_EQ(transport.Send("0D01").error->kind, LinkErrorKind::DeviceLost);
    const ReplyResult reply = transport.ReadReply(102);
    ASSERT_TRUE(reply.error);
    EXPECT_EQ(reply.error->kind, LinkErrorKind::ReadFailed);
    EXPECT_EQ(transport.ReadReplyText(true), "");
    transport.PollDeviceInput();

    EXPECT_TRUE(driver.calls.empty());
    EXPECT_TRUE(driver.writes.empty());
    EXPECT_EQ(environment.totalSlept(), 0ms);
    EXPECT_EQ(lost.size(), 1u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(TransportTest, ADeviceLostDuringTheDrainEndsItWithoutDecoding) {
    driver.Queue("1\r\n2\r\n");
    environment.onSleep = [this](std::chrono::milliseconds) {
        driver.failing = {{"read", ft::IO_ERROR}, {"getQueueStatus", ft::IO_ERROR}};
    };
    const ReplyResult reply = transport.ReadReply(102);
    ASSERT_TRUE(reply.error);
    EXPECT_EQ(reply.error->kind, LinkErrorKind::ReadFailed);
    EXPECT_TRUE(printed.empty());
    EXPECT_LT(environment.totalSlept(), kReplyQuietGap);
    EXPECT_EQ(lost.size(), 1u);
}

// The reply timer's tick.
class PollDeviceInputTest : public TransportTest {};

TEST_F(PollDeviceInputTest, RestoresErrorReportsAsItFoundThemAndShowsNothing) {
    driver.failing = {{"getQueueStatus", ft::INVALID_HANDLE}};
    for (bool reportsOn : {false, true}) {
        access.ErrorReportsOn = reportsOn;
        transport.PollDeviceInput();
        EXPECT_EQ(access.ErrorReportsOn, reportsOn);
    }
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(printed.empty());
}

// Losing the pedal is no driver detail: the tick hands it over even though it reports
// nothing else.
TEST_F(PollDeviceInputTest, HandsOverALostDevice) {
    driver.failing = {{"getQueueStatus", ft::IO_ERROR}};
    transport.PollDeviceInput();
    transport.PollDeviceInput();
    EXPECT_EQ(lost, std::vector<LinkError>{
                        FailedCall("FT_GetQueueStatus", ft::IO_ERROR, LinkErrorKind::DeviceLost)});
    EXPECT_TRUE(reports.empty());
}

TEST_F(PollDeviceInputTest, CountsNumbersAndLogsBytesThatAreNoNumber) {
    driver.Queue("12\r\n");
    transport.PollDeviceInput();
    EXPECT_EQ(printed, std::vector<std::string>{"num of bytes read: 4"});

    printed.clear();
    driver.Queue("1;zz");
    transport.PollDeviceInput();
    EXPECT_EQ(printed, (std::vector<std::string>{"num of bytes read: 4",
                                                 "unasked bytes not understood: 313B7A7A"}));
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(access.ErrorReportsOn);
}

TEST_F(PollDeviceInputTest, AnEepromDumpIsLoggedLineByLineInOneBlock) {
    driver.queued.assign(1 + kEepromSize, 0x00);
    driver.queued[0] = kEepromDumpMarker;
    driver.queued[1] = 0xFF;
    driver.queued[2] = 0x3A;

    transport.PollDeviceInput();

    ASSERT_EQ(printed.size(), 1 + kEepromSize);
    EXPECT_EQ(printed[0], "num of bytes read: 16385");
    EXPECT_EQ(printed[1], "0: FF");
    EXPECT_EQ(printed[2], "1: 3A");
    EXPECT_EQ(printed.back(), "16383: 00");
    EXPECT_EQ(blocks, 1);
}

TEST_F(PollDeviceInputTest, ADumpOverSeveralTicksIsLoggedOnceWhenComplete) {
    std::vector<std::uint8_t> dump(1 + kEepromSize, 0x11);
    dump[0] = kEepromDumpMarker;
    dump.back() = 0x22;
    driver.queued.assign(dump.begin(), dump.begin() + 5000);
    transport.PollDeviceInput();
    EXPECT_EQ(printed, std::vector<std::string>{"num of bytes read: 5000"});

    driver.queued.assign(dump.begin() + 5000, dump.end());
    transport.PollDeviceInput();
    ASSERT_EQ(printed.size(), 2 + kEepromSize);
    EXPECT_EQ(printed[1], "num of bytes read: 11385");
    EXPECT_EQ(printed[2], "0: 11");
    EXPECT_EQ(printed.back(), "16383: 22");
}

TEST_F(PollDeviceInputTest, TwoDumpsInOneReadAreBothLogged) {
    for (std::uint8_t fill : {0x11, 0x22}) {
        driver.queued.push_back(kEepromDumpMarker);
        driver.queued.insert(driver.queued.end(), kEepromSize, fill);
    }
    driver.queued.insert(driver.queued.end(), {kEepromDumpMarker, 0x33});

    transport.PollDeviceInput();
    ASSERT_EQ(printed.size(), 1 + 2 * kEepromSize);
    EXPECT_EQ(printed[0], "num of bytes read: 32772");
    EXPECT_EQ(printed[1], "0: 11");
    EXPECT_EQ(printed[kEepromSize], "16383: 11");
    EXPECT_EQ(printed[kEepromSize + 1], "0: 22");
    EXPECT_EQ(printed.back(), "16383: 22");
    EXPECT_EQ(blocks, 2);

    // The third had begun in the same read: it goes on in the next.
    printed.clear();
    driver.queued.assign(kEepromSize - 1, 0x44);
    transport.PollDeviceInput();
    ASSERT_EQ(printed.size(), 1 + kEepromSize);
    EXPECT_EQ(printed[1], "0: 33");
    EXPECT_EQ(printed.back(), "16383: 44");
}

TEST_F(PollDeviceInputTest, AStalledDumpShowsOnlyTheBytesThatCame) {
    const std::uint8_t start[] = {kEepromDumpMarker, 0x01, 0x02};
    driver.queued.assign(std::begin(start), std::end(start));
    transport.PollDeviceInput();
    environment.advance(kEepromDumpStallLimit);
    transport.PollDeviceInput();
    EXPECT_EQ(printed,
              (std::vector<std::string>{"num of bytes read: 3", "0: 01", "1: 02",
                                        "EEPROM dump incomplete: 2 of 16384 bytes received"}));
}

}  // namespace
