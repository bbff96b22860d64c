#include "protocol/Parameters.h"

#include <gtest/gtest.h>

#include <cctype>
#include <stdexcept>
#include <string>

using namespace varkunda::protocol;

namespace {

// The first line of the newest built-in algorithm image, cut after its address table
// and a little of the program behind it.
const std::string kImageLine =
    "001100"                                          // upload command and length
    "0027" "0007" "007D" "0080" "0002" "00AF" "00BD"  // slots 0 to 6
    "007E" "00C9" "002D" "0041" "0037" "000B" "0052"  // slots 7 to 13
    "00C6" "001D" "000E" "0006" "FF00" "00BC" "0003"  // slots 14 to 20
    "3A7F0C";

constexpr AddressTable kBuiltInTable = {0x0027, 0x0007, 0x007D, 0x0080, 0x0002, 0x00AF, 0x00BD,
                                        0x007E, 0x00C9, 0x002D, 0x0041, 0x0037, 0x000B, 0x0052,
                                        0x00C6, 0x001D, 0x000E, 0x0006, 0xFF00, 0x00BC, 0x0003};

TEST(AddressTable, ReadsTheTwentyOneSlotsOfTheBuiltInImage) {
    EXPECT_EQ(ParseAddressTable(kImageLine), kBuiltInTable);
    EXPECT_EQ(ParseAddressTable(kImageLine.substr(0, kAddressTableEnd)), kBuiltInTable);
    std::string lower = kImageLine;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ParseAddressTable(lower), kBuiltInTable);
}

TEST(AddressTable, RefusesLinesThatCannotHoldItWithAClearReason) {
    struct Case {
        std::string line;
        const char* reason;
    };
    std::string badLastSlot = kImageLine;
    badLastSlot[kAddressTableEnd - 1] = 'G';
    std::string badFirstSlot = kImageLine;
    badFirstSlot[kAddressTableOffset] = ' ';
    const Case cases[] = {
        {"", "The algorithm image is too short to hold its address table"},
        {kImageLine.substr(0, kAddressTableEnd - 1),
         "The algorithm image is too short to hold its address table"},
        {badLastSlot,
         "The algorithm image's address table holds characters that are not hexadecimal"},
        {badFirstSlot,
         "The algorithm image's address table holds characters that are not hexadecimal"}};
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseAddressTable(c.line, &error).has_value()) << c.line;
        EXPECT_EQ(error, c.reason) << c.line;
        EXPECT_FALSE(ParseAddressTable(c.line).has_value());
    }
}

TEST(ParameterSet, StartsWithTheCreationArguments) {
    const ParameterSet set;
    ASSERT_EQ(set.size(), 19u);
    for (std::size_t i = 0; i < set.size(); ++i) {
        EXPECT_EQ(set.name(i), kParameterInfo[i].name);
        EXPECT_EQ(set.isAssignable(i), i >= 10) << i;
        EXPECT_EQ(set.address(i), i >= 10 ? 0xFFFF : 0) << i;
        EXPECT_EQ(set.value(i), 0u);
    }
    EXPECT_EQ(set.name(0), "Dry");
    EXPECT_EQ(set.name(9), "Range");
    EXPECT_EQ(set.name(18), "Noise Gate Threshold");
    EXPECT_EQ(set.assignable(0).parameter_name, "Input Level");
    EXPECT_FALSE(set.assignable(8).is_assigned);
    EXPECT_THROW(set.name(19), std::out_of_range);
    EXPECT_THROW(set.assignable(9), std::out_of_range);
    EXPECT_THROW(set.standard(10), std::out_of_range);
}

TEST(ParameterSet, TakesEachAddressFromItsSlotIncludingRange) {
    ParameterSet set;
    set.LoadParameterAddresses(kBuiltInTable);
    const std::pair<const char*, std::uint16_t> expected[] = {{"Dry", 0x0027},
                                                              {"Sub Mix", 0x0007},
                                                              {"-1 Oct", 0x007D},
                                                              {"-2 Oct", 0x0080},
                                                              {"Wave", 0x0002},
                                                              {"Low Pass", 0x00AF},
                                                              {"High Pass", 0x00BD},
                                                              {"1st Harmonic", 0x007E},
                                                              {"Split", 0x00C9},
                                                              {"Range", 0x002D},
                                                              {"Input Level", 0x000B},
                                                              {"1st Harmonic Pitch", 0x0052},
                                                              {"Wave Clip", 0x00C6},
                                                              {"Dominant Notes Cut", 0x001D},
                                                              {"High Notes Cut", 0x000E},
                                                              {"Dry HPF", 0x0006},
                                                              {"Limit Range UP", 0xFF00},
                                                              {"Noise Gate Status", 0x00BC},
                                                              {"Noise Gate Threshold", 0x0003}};
    for (const auto& [name, address] : expected) {
        const auto index = set.indexOf(name);
        ASSERT_TRUE(index.has_value()) << name;
        EXPECT_EQ(set.address(*index), address) << name;
    }
}

TEST(ParameterSet, ABadImageLeavesEveryAddressAsItWas) {
    ParameterSet set;
    ASSERT_TRUE(set.LoadParameterAddresses(kImageLine));
    EXPECT_EQ(set.address(param::kWaveClip), 0x00C6);
    std::string error;
    EXPECT_FALSE(set.LoadParameterAddresses(std::string_view("0011000027"), &error));
    EXPECT_EQ(error, "The algorithm image is too short to hold its address table");
    std::string badImage = kImageLine;
    badImage[kAddressTableEnd - 2] = 'x';
    EXPECT_FALSE(set.LoadParameterAddresses(badImage));
    EXPECT_EQ(set.address(param::kDry), 0x0027);
    EXPECT_EQ(set.address(param::kNoiseGateThreshold), 0x0003);
}

TEST(ParameterSet, ValuesWriteThroughToTheParameterObjects) {
    ParameterSet set;
    for (std::size_t i = 0; i < set.size(); ++i)
        set.value(i) = 0x100 + static_cast<std::uint32_t>(i);
    EXPECT_EQ(set.standard(param::kRange).value, 0x109u);
    EXPECT_EQ(set.assignable(0).value, 0x10Au);
    EXPECT_EQ(set.assignableValues(),
              (std::array<std::uint32_t, 9>{0x10A, 0x10B, 0x10C, 0x10D, 0x10E, 0x10F, 0x110, 0x111,
                                            0x112}));
    auto values = set.values();
    values[param::kDry] = 7;
    values[param::kNoiseGateStatus] = 1;
    set.setValues(values);
    EXPECT_EQ(set.standard(0).value, 7u);
    EXPECT_EQ(set.assignable(7).value, 1u);
    EXPECT_FALSE(set.indexOf("Volume").has_value());
}

TEST(ParameterInfo, KindsAndFullScales) {
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const auto& info = kParameterInfo[i];
        EXPECT_EQ(info.assignable, i >= kFirstAssignableIndex) << info.name;
        const bool stepDial = i == param::kLowPass || i == param::kHighPass || i == param::kRange;
        if (!stepDial) {
            EXPECT_EQ(info.fullScale, kDialFullScale) << info.name;
        }
    }
    EXPECT_EQ(kParameterInfo[param::kLowPass].fullScale, 24u);
    EXPECT_EQ(kParameterInfo[param::kHighPass].fullScale, 16u);
    EXPECT_EQ(kParameterInfo[param::kRange].fullScale, 22u);
    EXPECT_EQ(kParameterInfo[param::kWave].kind, ParameterKind::Wave);
    EXPECT_EQ(kParameterInfo[param::kSplit].kind, ParameterKind::Split);
    EXPECT_EQ(kParameterInfo[param::kHarmonicPitch].kind, ParameterKind::PitchTable);
    EXPECT_EQ(kParameterInfo[param::kHighNotesCut].kind, ParameterKind::CheckBox);
    EXPECT_EQ(kParameterInfo[param::kLimitRangeUp].kind, ParameterKind::OnOff);
}

// Each on/off kind through the one pair of switch conversions the effect window uses.
TEST(ParameterInfo, SwitchKindsEncodeAndDecodeTheirOwnWords) {
    using Shown = std::optional<bool>;
    struct Case {
        ParameterKind kind;
        std::uint32_t on, off;
        Shown shows0, shows1, shows2, showsWaveOn, showsWaveOff;
    };
    const Case cases[] = {
        {ParameterKind::Wave, 0x400000, 0x600000, {}, {}, {}, true, false},
        {ParameterKind::Split, 1, 0, false, true, {}, {}, {}},
        {ParameterKind::OnOff, 1, 0, false, true, false, false, false},
        {ParameterKind::CheckBox, 1, 0, false, true, false, false, false},
        {ParameterKind::Dial, 1, 0, {}, {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const auto kind = static_cast<int>(c.kind);
        EXPECT_EQ(EncodeSwitch(c.kind, true), c.on) << kind;
        EXPECT_EQ(EncodeSwitch(c.kind, false), c.off) << kind;
        EXPECT_EQ(DecodeSwitch(c.kind, 0), c.shows0) << kind;
        EXPECT_EQ(DecodeSwitch(c.kind, 1), c.shows1) << kind;
        EXPECT_EQ(DecodeSwitch(c.kind, 2), c.shows2) << kind;
        EXPECT_EQ(DecodeSwitch(c.kind, 0x400000), c.showsWaveOn) << kind;
        EXPECT_EQ(DecodeSwitch(c.kind, 0x600000), c.showsWaveOff) << kind;
    }
}

}  // namespace
