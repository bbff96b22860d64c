#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PedalTestSupport.h"
#include "sim/ParameterMap.h"

namespace varkunda::sim {
namespace {

using namespace testing;

// An algorithm-upload message of `length` bytes whose address table is `table`.
std::vector<std::uint8_t> AlgorithmImage(const AddressTable& table, std::size_t length) {
    std::vector<std::uint8_t> image{0x00, static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length & 0xFF)};
    for (std::uint16_t address : table) {
        image.push_back(static_cast<std::uint8_t>(address >> 8));
        image.push_back(static_cast<std::uint8_t>(address & 0xFF));
    }
    while (image.size() < length) image.push_back(static_cast<std::uint8_t>(image.size() * 7));
    return image;
}

AddressTable ShiftedTable() {
    AddressTable table = BuiltInAddressTable();
    for (auto& address : table) address = static_cast<std::uint16_t>(address + 0x1000);
    return table;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(AlgorithmUpload, InstallsTheImagesAddressTableAndAnswersAShortText) {
    PedalSimulator pedal;
    const auto image = AlgorithmImage(ShiftedTable(), 4352);
    pedal.hostWrite(image.data(), image.size());
    const auto answer = ReadAll(pedal);
    EXPECT_EQ(Text(answer), "Upload OK\r\n");
    EXPECT_LT(answer.size(), 17u);
    EXPECT_EQ(pedal.state().addressTable, ShiftedTable());
    EXPECT_EQ(pedal.installedAlgorithm(), image);

    Send(pedal, "011027003FC000");  // Dry at its new address
    EXPECT_EQ(pedal.state().parameters[0], 0x003FC000u);
    Send(pedal, "010007007FE000");  // Sub Mix at its old address: no longer known
    EXPECT_NE(pedal.state().parameters[1], 0x007FE000u);
    EXPECT_TRUE(AnyEventContains(pedal, "unknown address 0007"));
}

TEST(AlgorithmUpload, SmallestImageHoldsJustTheAddressTable) {
    PedalSimulator pedal;
    const auto image = AlgorithmImage(ShiftedTable(), 45);
    pedal.hostWrite(image.data(), image.size());
    EXPECT_EQ(Text(ReadAll(pedal)), "Upload OK\r\n");
    EXPECT_EQ(pedal.state().addressTable, ShiftedTable());
}

TEST(AlgorithmUpload, TooShortForAnAddressTableIsRefusedAndFramingGoesOn) {
    for (std::size_t declared : {0u, 2u, 3u, 20u, 44u}) {
        PedalSimulator pedal;
        auto image = AlgorithmImage(ShiftedTable(), 45);
        image[1] = 0;
        image[2] = static_cast<std::uint8_t>(declared);
        image.resize(std::max<std::size_t>(declared, 3));
        pedal.hostWrite(image.data(), image.size());
        EXPECT_EQ(Text(ReadAll(pedal)), "Upload Error\r\n") << declared;
        EXPECT_EQ(pedal.state().addressTable, BuiltInAddressTable());
        EXPECT_EQ(RequestStatus(pedal).size(), 102u) << declared;
    }
}

TEST(EepromDump, AnswersTheMarkerAndSixteenKilobytesOfTheChosenChip) {
    PedalSimulator pedal;
    Send(pedal, "0E" + std::string(1280, '5'));
    for (std::uint8_t chip : {0x50, 0x51}) {
        Send(pedal, "0C" + protocol::HexByte(chip) + "00000000");
        const auto dump = ReadAll(pedal);
        ASSERT_EQ(dump.size(), 16385u);
        EXPECT_EQ(dump[0], 0xAB);
        EXPECT_EQ(std::vector<std::uint8_t>(dump.begin() + 1, dump.end()), pedal.eeprom(chip));
    }
    EXPECT_TRUE(pedal.eeprom(0x52).empty());
}

TEST(EepromDump, SettingsChipHoldsTheAddressTableAndTheStoredSettings) {
    PedalSimulator pedal;
    Send(pedal, "070A");
    const auto chip = pedal.eeprom(0x50);
    EXPECT_EQ(chip[0], 0x00);
    EXPECT_EQ(chip[1], 0x27);  // slot 0 of the table
    const auto numbers = pedal.statusNumbers();
    EXPECT_TRUE(std::equal(numbers.begin() + 4, numbers.end(), chip.begin() + 0x40));
    EXPECT_EQ(chip[0x40 + 25 - 4], 10);  // the MIDI channel
    EXPECT_EQ(chip.back(), 0xFF);
}

TEST(TuningData, IsKeptAndWrittenToTheDataChip) {
    PedalSimulator pedal;
    std::string hex;
    for (int i = 0; i < 640; ++i) hex += protocol::HexByte(static_cast<std::uint8_t>(i * 3));
    Send(pedal, "0E" + hex);
    ASSERT_EQ(pedal.tuningData().size(), 640u);
    EXPECT_EQ(pedal.tuningData(), Bytes(hex));
    const auto chip = pedal.eeprom(0x51);
    EXPECT_TRUE(std::equal(pedal.tuningData().begin(), pedal.tuningData().end(), chip.begin()));
    EXPECT_EQ(chip[640], 0xFF);
    EXPECT_EQ(RequestStatus(pedal).size(), 102u) << "641 bytes framed as one message";
}

TEST(EraseSettings, PutsTheSettingsBackToTheFactoryValuesAndBlanksTheChip) {
    PedalSimulator fresh;
    PedalSimulator pedal;
    const auto image = AlgorithmImage(ShiftedTable(), 100);
    pedal.hostWrite(image.data(), image.size());
    ReadAll(pedal);
    for (const char* message : {"070A", "080101", "0902FE", "0D01", "1001", "0FBA0203040506B3",
                                "04010000000100C6FFFFFFFFFFFFFFFD", "011027007FE000"})
        Send(pedal, message);
    ASSERT_NE(pedal.statusNumbers(), fresh.statusNumbers());

    Send(pedal, "0B50000000");
    EXPECT_EQ(pedal.statusNumbers(), fresh.statusNumbers());
    EXPECT_EQ(pedal.state().addressTable, ShiftedTable()) << "the running algorithm stays";
    const auto chip = pedal.eeprom(0x50);
    EXPECT_TRUE(std::all_of(chip.begin(), chip.end(), [](std::uint8_t b) { return b == 0xFF; }));
}

TEST(EraseSettings, DataChipLosesTheTuningDataOnly) {
    PedalSimulator pedal;
    Send(pedal, "070A");
    Send(pedal, "0E" + std::string(1280, '1'));
    Send(pedal, "0B51000000");
    EXPECT_TRUE(pedal.tuningData().empty());
    EXPECT_EQ(pedal.eeprom(0x51), std::vector<std::uint8_t>(16384, 0xFF));
    EXPECT_EQ(pedal.state().midiChannel, 10);
}

}  // namespace
}  // namespace varkunda::sim
