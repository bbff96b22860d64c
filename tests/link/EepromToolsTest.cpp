#include "PedalToolsFixture.h"
#include "link/EepromTools.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using varkunda::protocol::kEepromSize;
using varkunda::sim::Fault;

namespace {

class EepromTools : public PedalToolsFixture {
  protected:
    // Gives the data chip contents worth reading: the tuning data at its start.
    void fillDataChip() {
        Bytes message{0x0E};
        for (int i = 0; i < 640; ++i) message.push_back(static_cast<std::uint8_t>(i * 7));
        pedal().hostWrite(message.data(), message.size());
        pedal().clearWireLog();
    }
    // The console lines of the dump: those between "num of bytes read" and the end.
    std::vector<std::string> dumpLines() {
        const auto start = std::find_if(printed.begin(), printed.end(), [](const std::string& l) {
            return l.starts_with("num of bytes read: ");
        });
        if (start == printed.end()) return {};
        return {start + 1, printed.end()};
    }
};

TEST_F(EepromTools, EraseSendsTheFiveBytesAfterAPurgeAndPauses) {
    for (const auto& [address, bytes] :
         {std::pair{"50", Bytes{0x0B, 0x50, 0, 0, 0}}, {"51", Bytes{0x0B, 0x51, 0, 0, 0}}}) {
        pedal().clearWireLog();
        device.calls.clear();
        printed.clear();
        pauses.clear();
        const SendResult sent = EraseEeprom(transport, address);
        ASSERT_TRUE(sent.ok());
        EXPECT_EQ(writes(), std::vector<Bytes>{bytes});
        EXPECT_EQ(device.calls, (std::vector<std::string>{"purge TX", "write 5"}));
        EXPECT_EQ(printed,
                  std::vector<std::string>{"erase message: 0B" + std::string(address) + "000000"});
        EXPECT_EQ(pauses, std::vector<std::chrono::milliseconds>{100ms});
    }
    EXPECT_EQ(pedal().eeprom(0x50), Bytes(kEepromSize, 0xFF));
}

// An empty address reads "50" (the list's text when nothing is chosen); erasing needs one.
TEST_F(EepromTools, AnAddressThatIsNotTwoHexDigitsSendsNothing) {
    for (const char* address : {"5", "500", "5G"}) {
        EXPECT_FALSE(EraseEeprom(transport, address).ok()) << address;
        EXPECT_FALSE(ReadEepromDump(transport, address).sent.ok()) << address;
    }
    EXPECT_FALSE(EraseEeprom(transport, "").ok());
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(pauses.empty());
    EXPECT_TRUE(printed.empty());
}

TEST_F(EepromTools, ReadLogsTheRequestThenEveryByteOfTheDump) {
    fillDataChip();
    const Bytes chip = pedal().eeprom(0x51);

    const EepromDumpResult dump = ReadEepromDump(transport, "51");

    EXPECT_EQ(writes(), std::vector<Bytes>{(Bytes{0x0C, 0x51, 0, 0, 0, 0})});
    EXPECT_EQ(device.calls, std::vector<std::string>{"write 6"});
    EXPECT_FALSE(dump.error);
    EXPECT_TRUE(dump.complete());
    EXPECT_EQ(dump.contents, chip);
    ASSERT_GE(printed.size(), 2u);
    EXPECT_EQ(printed[0], "0C5100000000");
    EXPECT_EQ(printed[1], "num of bytes read: 16385");
    const auto lines = dumpLines();
    ASSERT_EQ(lines.size(), kEepromSize);
    EXPECT_EQ(lines[0], "0: 00");
    EXPECT_EQ(lines[1], "1: 07");
    EXPECT_EQ(lines[639], "639: " + varkunda::protocol::HexByte(chip[639]));
    EXPECT_EQ(lines[16383], "16383: FF");
    EXPECT_TRUE(reports.empty());
}

TEST_F(EepromTools, TheWaitEndsWhenTheDumpIsWhole) {
    const EepromDumpResult dump = ReadEepromDump(transport, "");
    EXPECT_TRUE(dump.complete());
    EXPECT_EQ(writes(), std::vector<Bytes>{(Bytes{0x0C, 0x50, 0, 0, 0, 0})});
    EXPECT_LT(environment.now(), 10ms) << "no blind wait";
}

TEST_F(EepromTools, AShortDumpLogsWhatCameAndSaysHowFarAfterTheTimeLimit) {
    pedal().injectFault(Fault::ShortDump, 1 + 300);
    const EepromDumpResult dump = ReadEepromDump(transport, "50");

    ASSERT_TRUE(dump.error);
    EXPECT_EQ(dump.error->kind, LinkErrorKind::NoReply);
    EXPECT_FALSE(dump.complete());
    EXPECT_EQ(dump.contents.size(), 300u);
    EXPECT_GE(environment.now(), kEepromDumpTimeLimit);
    EXPECT_LT(environment.now(), kEepromDumpTimeLimit + 10ms);
    const auto lines = dumpLines();
    ASSERT_EQ(lines.size(), 301u);
    EXPECT_EQ(lines[299], "299: " + varkunda::protocol::HexByte(pedal().eeprom(0x50)[299]));
    EXPECT_EQ(lines.back(), "EEPROM dump incomplete: 300 of 16384 bytes received");
}

TEST_F(EepromTools, NoAnswerOrAForeignAnswerIsNoDump) {
    pedal().injectFault(Fault::Silence);
    EXPECT_TRUE(ReadEepromDump(transport, "50").contents.empty());
    EXPECT_EQ(printed, (std::vector<std::string>{
                           "0C5000000000", "EEPROM dump incomplete: 0 of 16384 bytes received"}));

    pedal().injectFault(Fault::None);
    pedal().injectFault(Fault::Garbage);
    printed.clear();
    const EepromDumpResult foreign = ReadEepromDump(transport, "50");
    EXPECT_TRUE(foreign.contents.empty());
    ASSERT_EQ(printed.size(), 4u);
    EXPECT_EQ(printed[1], "num of bytes read: 16385");
    EXPECT_TRUE(printed[2].starts_with("the answer is not an EEPROM dump: 233F7E"));
    EXPECT_EQ(printed[3], "EEPROM dump incomplete: 0 of 16384 bytes received");
}

TEST_F(EepromTools, AnUnpluggedPedalEndsTheWaitAtOnce) {
    pedal().injectFault(Fault::UnplugAfterBytes, 6);
    const EepromDumpResult dump = ReadEepromDump(transport, "50");
    EXPECT_TRUE(dump.sent.ok());
    ASSERT_TRUE(dump.error);
    EXPECT_NE(dump.error->kind, LinkErrorKind::NoReply);
    EXPECT_LT(environment.now(), 10ms);
    EXPECT_EQ(printed.back(), "EEPROM dump incomplete: 0 of 16384 bytes received");
}

}  // namespace
