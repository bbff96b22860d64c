#include "protocol/HexText.h"

#include <gtest/gtest.h>

using namespace varkunda::protocol;

TEST(HexText, FormatsFixedWidthUpperCaseFields) {
    EXPECT_EQ(HexByte(0x0A), "0A");
    EXPECT_EQ(HexWord16(0x2D), "002D");
    EXPECT_EQ(HexWord32(0x3FC000), "003FC000");
    const std::uint8_t bytes[] = {0x01, 0x00, 0x27, 0xAB};
    EXPECT_EQ(BytesToHexText(bytes), "010027AB");
}

TEST(HexText, ConversionStopsAtTheFirstBadPairAndKeepsTheRest) {
    std::uint8_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(ConvertHexText("0d01zz05", out, 4), 2u);
    EXPECT_EQ(out[0], 0x0D);
    EXPECT_EQ(out[1], 0x01);
    EXPECT_EQ(out[2], 9);
    EXPECT_EQ(out[3], 9);
    EXPECT_EQ(ConvertHexText("0D01", out, 1), 1u);
}

TEST(HexText, StrictConversionIgnoresAnOddDigitAndRefusesNonHex) {
    ASSERT_TRUE(HexTextToBytes("0D01F").has_value());
    EXPECT_EQ(*HexTextToBytes("0D01F"), (std::vector<std::uint8_t>{0x0D, 0x01}));
    EXPECT_FALSE(HexTextToBytes("0G").has_value());
}

TEST(HexText, XorChecksumOfTheInstrumentMessages) {
    EXPECT_EQ(XorChecksum("0FFF0102030405", 7), 0xF1);
    EXPECT_EQ(XorChecksum("0FBA0203040506", 7), 0xB3);
    EXPECT_FALSE(XorChecksum("0FBA", 7).has_value());
    EXPECT_FALSE(XorChecksum("0FXX0203040506", 7).has_value());
}
