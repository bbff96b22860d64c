#include <gtest/gtest.h>

#include "PedalTestSupport.h"

namespace varkunda::sim {
namespace {

using namespace testing;

LineSettings WithParity(std::uint8_t parity) {
    LineSettings line;
    line.parity = parity;
    return line;
}

class BootloaderEntry : public ::testing::Test {
protected:
    void enter() {
        Send(pedal, "0D01");
        Send(pedal, "0500010203040506");
        ASSERT_TRUE(pedal.state().inBootloader);
    }
    std::vector<std::uint8_t> sync() {
        Send(pedal, "7F");
        return ReadAll(pedal);
    }

    PedalSimulator pedal;
};

TEST_F(BootloaderEntry, SyncAtEvenParityIsAcknowledged) {
    enter();
    pedal.setLineSettings(WithParity(2));
    EXPECT_EQ(sync(), Bytes("79"));
    EXPECT_TRUE(AnyEventContains(pedal, "sync 7F answered 79"));
}

TEST_F(BootloaderEntry, SyncWithoutParityIsLostWhileParityIsVisible) {
    enter();
    EXPECT_TRUE(sync().empty());
    EXPECT_TRUE(AnyEventContains(pedal, "lost 1 host bytes sent at 115200 baud, 8 bits, parity 0"));
    pedal.setLineSettings(WithParity(2));
    EXPECT_EQ(sync(), Bytes("79")) << "a later sync at the right parity still works";
}

TEST_F(BootloaderEntry, PseudoTerminalTakesAnyParity) {
    pedal.setParityVisible(false);
    enter();
    EXPECT_EQ(sync(), Bytes("79"));
}

TEST_F(BootloaderEntry, OtherBytesAreIgnoredAndSyncIsAnsweredOnce) {
    enter();
    pedal.setLineSettings(WithParity(2));
    pedal.clearEvents();
    Send(pedal, "0200");
    EXPECT_EQ(pedal.hostReadable(), 0u);
    EXPECT_EQ(pedal.events(), std::vector<std::string>{
                                  "bootloader: byte 0200 before the sync byte ignored (2 bytes)"});
    EXPECT_EQ(sync(), Bytes("79"));
    EXPECT_TRUE(sync().empty());
}

TEST_F(BootloaderEntry, NormalFirmwareDoesNotAnswerSync) {
    pedal.setLineSettings(WithParity(2));
    EXPECT_TRUE(sync().empty());
    pedal.setLineSettings(WithParity(0));
    EXPECT_TRUE(sync().empty());
    EXPECT_FALSE(pedal.state().inBootloader);
}

TEST_F(BootloaderEntry, NormalFirmwareLosesBytesSentAtEvenParity) {
    pedal.setLineSettings(WithParity(2));
    Send(pedal, "0200");
    EXPECT_EQ(pedal.hostReadable(), 0u);
    pedal.setParityVisible(false);
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

TEST_F(BootloaderEntry, WrongBaudRateOrWordLengthLosesBytesWhateverTheParity) {
    pedal.setParityVisible(false);
    LineSettings slow;
    slow.baudRate = 9600;
    pedal.setLineSettings(slow);
    EXPECT_TRUE(RequestStatus(pedal).empty());
    LineSettings sevenBits;
    sevenBits.wordLength = 7;
    pedal.setLineSettings(sevenBits);
    EXPECT_TRUE(RequestStatus(pedal).empty());
    LineSettings close;
    close.baudRate = 115200 + 3000;  // within the receiver's tolerance
    pedal.setLineSettings(close);
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

TEST_F(BootloaderEntry, ReplugWithShiftHeldStartsTheBootloader) {
    pedal.replug(true);
    EXPECT_TRUE(pedal.state().inBootloader);
    pedal.setLineSettings(WithParity(2));
    EXPECT_EQ(sync(), Bytes("79"));
    pedal.replug();
    EXPECT_FALSE(pedal.state().inBootloader);
    pedal.setLineSettings(WithParity(0));
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

}  // namespace
}  // namespace varkunda::sim
