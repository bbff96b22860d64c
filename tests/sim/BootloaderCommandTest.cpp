#include <gtest/gtest.h>

#include <ostream>

#include "BootloaderTestSupport.h"
#include "tools/TestImages.h"

namespace varkunda::sim {
namespace {

using namespace testing;

const std::vector<std::uint8_t>& Firmware13() { return images::FirmwareTestImage(13); }

std::vector<std::uint8_t> FlashBytes(const PedalSimulator& pedal) {
    return pedal.readFlash(kFlashStart, kFlashSize);
}

std::vector<std::uint8_t> Record(std::uint8_t firmware) {
    return {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, firmware};
}

TEST(Flash, StartsWithTheFirmware13ImageAndTheRecordOfTheIdentitysFirmware) {
    PedalIdentity identity;
    identity.firmware = 12;
    PedalSimulator pedal(identity);
    EXPECT_EQ(pedal.readFlash(kFlashStart, Firmware13().size()), Firmware13());
    EXPECT_EQ(pedal.readFlash(kFlashStart + 53152, 16), Filled(16, 0xFF));
    EXPECT_EQ(pedal.readFlash(kVersionRecordAddress, 8), Record(12));
    EXPECT_EQ(pedal.readFlash(kFlashStart + kFlashSize - 4, 4), Filled(4, 0xFF));
    EXPECT_TRUE(pedal.readFlash(kFlashStart + kFlashSize - 4, 5).empty());

    identity.firmware = 9;
    pedal.setIdentity(identity);
    EXPECT_EQ(pedal.readFlash(kVersionRecordAddress, 8), Record(9));
    pedal.replug();
    EXPECT_EQ(RequestStatus(pedal).at(0), 9) << "the firmware reports its record";
}

struct AnswerCase {
    const char* name;
    std::string sent;
    std::string answer;
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class BootloaderAnswer : public InBootloader, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(BootloaderAnswer, IsTheseBytesAndLeavesTheFlashAlone) {
    const auto before = FlashBytes(pedal);
    EXPECT_EQ(Hex(exchange(GetParam().sent)), GetParam().answer);
    EXPECT_EQ(FlashBytes(pedal), before);
    EXPECT_EQ(exchange("02FD"), Bytes("7901041079")) << "ready for the next command";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, BootloaderAnswer,
    ::testing::Values(AnswerCase{"Get", "00FF",
                                 "79072200010211213143"
                                 "79"},
                      AnswerCase{"GetVersion", "01FE", "7922000079"},
                      AnswerCase{"GetId", "02FD", "7901041079"},
                      AnswerCase{"ReadVectorTable", "11EE" + AddressFrame(kFlashStart) + "07F8",
                                 "797979"
                                 "00500020"
                                 "11010008"},
                      AnswerCase{"ReadVersionRecord",
                                 "11EE0801FC00F5"
                                 "07F8",
                                 "797979"
                                 "000000000000000D"},
                      AnswerCase{"ReadLastByte", "11EE" + AddressFrame(0x0801FFFF) + "00FF",
                                 "797979"
                                 "FF"},
                      AnswerCase{"ReadFullBlock", "11EE" + AddressFrame(0x0801FF00) + "FF00",
                                 "797979" + std::string(512, 'F')}),
    [](const auto& info) { return std::string(info.param.name); });

// Refused commands: NACK at the step that is wrong, nothing written, and the
// bootloader waits for the next command.
INSTANTIATE_TEST_SUITE_P(
    Refusals, BootloaderAnswer,
    ::testing::Values(
        AnswerCase{"BadCommandComplement", "31CF", "1F"},
        AnswerCase{"ExtendedEraseIsNotSpoken", "44BB", "1F"},
        AnswerCase{"WriteProtectIsNotSpoken", "639C", "1F"},
        AnswerCase{"BadAddressChecksum",
                   "31CE"
                   "0800000009",
                   "791F"},
        AnswerCase{"WriteBelowFlash", "31CE" + AddressFrame(0x20000000), "791F"},
        AnswerCase{"WriteJustPastFlash", "31CE" + AddressFrame(0x08020000), "791F"},
        AnswerCase{"WriteUnaligned", "31CE" + AddressFrame(0x08000002), "791F"},
        AnswerCase{"BadDataChecksum", "31CE" + AddressFrame(kFlashStart) + "030102030405",
                   "79791F"},
        AnswerCase{"WriteRunningPastFlash",
                   "31CE" + AddressFrame(0x0801FFFC) + DataFrame(Filled(8, 0x00)), "79791F"},
        // N cannot announce more than 256 bytes: the 257th is taken as the checksum,
        // the 258th and the real checksum as a command.
        AnswerCase{"WriteOfMoreThan256Bytes",
                   "31CE" + AddressFrame(kFlashStart) + "FF" + Hex(Filled(258, 0x55)) + "FF",
                   "79791F1F"},
        AnswerCase{"ReadOutsideFlash", "11EE" + AddressFrame(0x1FFFF000), "791F"},
        AnswerCase{"ReadLengthBadComplement", "11EE" + AddressFrame(kFlashStart) + "07F7",
                   "79791F"},
        AnswerCase{"ReadRunningPastFlash", "11EE" + AddressFrame(0x0801FFFC) + "07F8", "79791F"},
        AnswerCase{"EraseListBadChecksum",
                   "43BC"
                   "000100",
                   "791F"},
        AnswerCase{"GlobalEraseBadChecksum",
                   "43BC"
                   "FFFF",
                   "791F"},
        AnswerCase{"ErasePastTheLastPage",
                   "43BC"
                   "01"
                   "0080"
                   "81",
                   "791F"},
        AnswerCase{"GoWhereNothingIs", "21DE" + AddressFrame(0x40000000), "791F"},
        AnswerCase{"GoBadAddressChecksum",
                   "21DE"
                   "0800000000",
                   "791F"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InBootloader, ASecondSyncByteIsTakenAsACommandAndRefusedWithTheNextByte) {
    EXPECT_TRUE(exchange("7F").empty());
    EXPECT_EQ(exchange("7F"), Bytes("1F"));
    EXPECT_EQ(exchange("02FD"), Bytes("7901041079"));
}

TEST_F(InBootloader, WriteProgramsAndWiseOverUnerasedBytes) {
    eraseAndWrite(kFlashStart + 0x400, {0xF0, 0x0F, 0xFF, 0x00});
    EXPECT_EQ(
        exchange("31CE" + AddressFrame(kFlashStart + 0x400) + DataFrame({0x3C, 0x3C, 0x3C, 0x3C})),
        Bytes("797979"));
    EXPECT_EQ(pedal.readFlash(kFlashStart + 0x400, 5), Bytes("300C3C00FF"));
    EXPECT_EQ(Hex(exchange("11EE" + AddressFrame(kFlashStart + 0x400) + "03FC")),
              "797979"
              "300C3C00");
}

TEST_F(InBootloader, WriteOfAFullBlockLandsAtItsAddress) {
    std::vector<std::uint8_t> block(256);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 3);
    eraseAndWrite(kFlashStart + 0x100, block);
    EXPECT_EQ(pedal.readFlash(kFlashStart + 0x100, 256), block);
    EXPECT_EQ(pedal.readFlash(kFlashStart + 0xFC, 4), Filled(4, 0xFF));
    EXPECT_EQ(pedal.readFlash(kFlashStart + 0x200, 4), Filled(4, 0xFF));
}

TEST_F(InBootloader, GlobalEraseBlanksTheWholeFlash) {
    EXPECT_EQ(exchange("43BC"), Bytes("79"));
    EXPECT_EQ(exchange("FF00"), Bytes("79"));
    EXPECT_EQ(FlashBytes(pedal), Filled(kFlashSize, 0xFF));
}

TEST_F(InBootloader, PageEraseBlanksTheListedPagesOnly) {
    EXPECT_EQ(exchange("43BC"), Bytes("79"));
    EXPECT_EQ(exchange("01"
                       "007F"
                       "7E"),
              Bytes("79"));
    EXPECT_EQ(pedal.readFlash(kFlashStart, kFlashPageSize), Filled(kFlashPageSize, 0xFF));
    EXPECT_EQ(pedal.readFlash(kFlashStart + kFlashPageSize, 4),
              std::vector<std::uint8_t>(Firmware13().begin() + 1024, Firmware13().begin() + 1028));
    EXPECT_EQ(pedal.readFlash(kVersionRecordAddress, 8), Filled(8, 0xFF));
}

struct GoCase {
    const char* name;
    std::vector<std::uint8_t> erasePages;  // before the record is written
    std::vector<std::uint8_t> record;      // written at 0x0801FC00 when not empty
    int reported;                          // firmware number, -1 silent
};

void PrintTo(const GoCase& c, std::ostream* out) { *out << c.name; }

class GoCommand : public InBootloader, public ::testing::WithParamInterface<GoCase> {};

TEST_P(GoCommand, StartsTheFirmwareOfTheRecordOrNothing) {
    const GoCase& c = GetParam();
    std::vector<std::uint8_t> list{static_cast<std::uint8_t>(c.erasePages.size() - 1)};
    list.insert(list.end(), c.erasePages.begin(), c.erasePages.end());
    std::uint8_t checksum = 0;
    for (std::uint8_t byte : list) checksum ^= byte;
    list.push_back(checksum);
    ASSERT_EQ(exchange("43BC" + Hex(list)), Bytes("7979"));
    if (!c.record.empty()) {
        ASSERT_EQ(exchange("31CE0801FC00F5" + DataFrame(c.record)), Bytes("797979"));
    }

    EXPECT_EQ(exchange("21DE" + AddressFrame(kFlashStart)), Bytes("7979"));
    EXPECT_FALSE(pedal.state().inBootloader);
    pedal.setLineSettings(LineSettings{});
    const auto numbers = RequestStatus(pedal);
    if (c.reported < 0) {
        EXPECT_TRUE(numbers.empty());
        EXPECT_TRUE(AnyEventContains(pedal, "no firmware starts from 08000000"));
        EXPECT_TRUE(AnyEventContains(pedal, "2 host bytes unheard"));
    } else {
        ASSERT_EQ(numbers.size(), 102u);
        EXPECT_EQ(numbers[0], c.reported);
        EXPECT_EQ(pedal.identity().firmware, c.reported);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoCommand,
    ::testing::Values(GoCase{"RecordOf12", {127}, Record(12), 12},
                      GoCase{"RecordOf5", {127}, Record(5), 5},
                      GoCase{"BlankRecord", {127}, {}, -1},
                      GoCase{"RecordWithoutItsZeros", {127}, {0, 0, 0, 1, 0, 0, 0, 12}, -1},
                      GoCase{"BlankVectorTable", {0}, {}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InBootloader, APedalThatDidNotStartComesBackOnlyWithShiftHeld) {
    ASSERT_EQ(exchange("43BC"), Bytes("79"));
    ASSERT_EQ(exchange("FF00"), Bytes("79"));
    pedal.replug();
    pedal.setLineSettings(LineSettings{});
    EXPECT_TRUE(RequestStatus(pedal).empty()) << "a blank flash starts nothing";
    pedal.replug(true);
    LineSettings even;
    even.parity = 2;
    pedal.setLineSettings(even);
    EXPECT_EQ(exchange("7F"), Bytes("79"));
    EXPECT_EQ(exchange("02FD"), Bytes("7901041079"));
}

TEST_F(InBootloader, GoToRamIsAcknowledgedButStartsNothing) {
    EXPECT_EQ(exchange("21DE" + AddressFrame(0x20000100)), Bytes("7979"));
    pedal.setLineSettings(LineSettings{});
    EXPECT_TRUE(RequestStatus(pedal).empty());
}

TEST(BootloaderEntryMessage, LeadsIntoTheBootloaderWithItsCommands) {
    PedalSimulator pedal;
    Send(pedal, "0500010203040506");
    LineSettings even;
    even.parity = 2;
    pedal.setLineSettings(even);
    Send(pedal, "7F");
    EXPECT_EQ(ReadAll(pedal), Bytes("79"));
    Send(pedal, "01FE");
    EXPECT_EQ(ReadAll(pedal), Bytes("7922000079"));
    const auto& last = pedal.wireLog().back();
    EXPECT_EQ(last.line.parity, 2);
    EXPECT_EQ(last.bytes, Bytes("01FE"));
}

}  // namespace
}  // namespace varkunda::sim
