#include "protocol/ValueEncoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace varkunda::protocol;

namespace {

// The usable angles in sweep order: clockwise from the minimum stop to the maximum stop.
std::vector<int> SweepOrder() {
    std::vector<int> angles;
    for (int a = -135; a >= -179; --a) angles.push_back(a);
    for (int a = 180; a >= -45; --a) angles.push_back(a);
    return angles;
}

TEST(DialEncoding, SnapsTheDeadZoneToTheNearerStopAndKeepsEveryOtherAngle) {
    for (int angle = -180; angle <= 180; ++angle) {
        int expected = angle;
        if (angle > -135 && angle < -45) expected = angle <= -90 ? -135 : -45;
        EXPECT_EQ(SnapDialAngle(angle), expected) << angle;
    }
    const std::pair<int, int> checks[] = {{-100, -135}, {-60, -45}, {-90, -135}, {-89, -45}};
    for (const auto& [angle, snapped] : checks) EXPECT_EQ(SnapDialAngle(angle), snapped) << angle;
}

TEST(DialEncoding, KnownAnglesSendKnownValues) {
    const std::pair<int, std::uint32_t> checks[] = {
        {-135, 0x000000}, {-45, 0x7FE000},  {0, 0x6A8000},    {90, 0x3FC000},
        {180, 0x14E000},  {-179, 0x14E000}, {-180, 0x14E000}, {-100, 0x000000},
        {-60, 0x7FE000},  {-90, 0x000000},  {-89, 0x7FE000}};
    for (const auto& [angle, value] : checks) EXPECT_EQ(DialAngleToValue(angle), value) << angle;
}

TEST(DialEncoding, EveryAngleEncodesToATenBitStepThatRisesAlongTheSweep) {
    std::uint32_t previous = 0;
    int position = 0;
    for (int angle : SweepOrder()) {
        const std::uint32_t value = DialAngleToValue(angle);
        EXPECT_EQ(value % 8192, 0u) << angle;
        EXPECT_LE(value, 0x7FE000u) << angle;
        EXPECT_GE(value, previous) << angle;
        previous = value;
        if (angle == -179) {
            EXPECT_EQ(DialSweepPosition(angle), DialSweepPosition(180));
        } else {
            EXPECT_EQ(DialSweepPosition(angle), position++) << angle;
        }
    }
    EXPECT_EQ(position, kDialSweepPositions);
    for (int angle = -134; angle <= -46; ++angle)
        EXPECT_EQ(DialAngleToValue(angle), DialAngleToValue(SnapDialAngle(angle))) << angle;
}

// The two directions are not exact inverses: the coarser segments of the decoding put
// some angles two degrees off (180 sends 0x14E000, which shows at -178).
TEST(DialEncoding, AngleComesBackWithinTwoDegrees) {
    for (int angle : SweepOrder()) {
        const int back = ValueToDialAngle(DialAngleToValue(angle), kDialFullScale);
        int difference = std::abs(back - angle);
        if (difference > 180) difference = 360 - difference;
        EXPECT_LE(difference, 2) << angle << " came back as " << back;
    }
}

TEST(DialEncoding, AnglesBeyondAHalfTurnAreWrapped) {
    const std::pair<int, int> checks[] = {{181, -179}, {-181, 179}, {270, -135},
                                          {360, 0},    {-270, 90},  {540, -180},
                                          {-225, 135}, {-405, -45}, {3600, 0}};
    for (const auto& [angle, snapped] : checks) EXPECT_EQ(SnapDialAngle(angle), snapped) << angle;
    EXPECT_EQ(DialAngleToValue(450), DialAngleToValue(90));
    EXPECT_LE(DialAngleToValue(INT_MAX), 0x7FE000u);
    EXPECT_LE(DialAngleToValue(INT_MIN), 0x7FE000u);
}

TEST(DialDecoding, ValuesAndStepNumbersShowAtTheirAngles) {
    struct Case {
        std::uint32_t value, fullScale;
        int angle;
    };
    const Case cases[] = {{0, kDialFullScale, -135},
                          {0x7FE000, kDialFullScale, -45},
                          {0x800000, kDialFullScale, -45},
                          {0x14E000, kDialFullScale, -178},
                          {0xFFFFFFFF, kDialFullScale, -45},
                          {12, 24, 90},
                          {0, 24, -135},
                          {24, 24, -45},
                          {8, 16, 89},
                          {11, 22, 90},
                          {1000, 24, -45},
                          {0x80000000u, 16, -135},  // product wraps to 0
                          {5, 0, -135}};
    for (const auto& c : cases)
        EXPECT_EQ(ValueToDialAngle(c.value, c.fullScale), c.angle)
            << std::hex << c.value << " / " << c.fullScale;
}

TEST(DialDecoding, SegmentBoundaries) {
    const std::pair<std::uint32_t, int> steps[] = {{169, -179}, {170, 180}, {339, 135}, {340, 136},
                                                   {511, 90},   {512, 89},  {680, 45},  {681, 44},
                                                   {850, 0},    {851, -1},  {1023, -45}};
    for (const auto& [n, angle] : steps)
        EXPECT_EQ(ValueToDialAngle(n << 13, kDialFullScale), angle) << n;
}

TEST(HarmonicPitch, TableRunsLinearlyInStepsRoundedToEight) {
    for (int i = 0; i < 25; ++i) {
        const double exact =
            i <= 12 ? 0x200000 + i * (0x200000 / 12.0) : 0x400000 + (i - 12) * (0x400000 / 12.0);
        const auto rounded = static_cast<std::uint32_t>(std::lround(exact / 8) * 8);
        EXPECT_EQ(HarmonicPitchTable[i], rounded) << i;
        EXPECT_EQ(PitchTableIndex(HarmonicPitchTable[i]), static_cast<std::size_t>(i));
    }
    EXPECT_EQ(HarmonicPitchTable[0 - kHarmonicPitchLowestSemitone], 0x400000u);
    EXPECT_FALSE(PitchTableIndex(0x400001).has_value());
    EXPECT_FALSE(PitchTableIndex(0).has_value());
}

TEST(SwitchDecoding, EachKindReadsItsOwnValues) {
    EXPECT_EQ(EncodeWave(true), 0x400000u);
    EXPECT_EQ(EncodeWave(false), 0x600000u);
    EXPECT_EQ(DecodeWave(0x400000), true);
    EXPECT_EQ(DecodeWave(0x600000), false);
    EXPECT_EQ(DecodeWave(0x500000), std::nullopt);
    EXPECT_EQ(DecodeWave(1), std::nullopt);

    EXPECT_EQ(EncodeOnOff(true), 1u);
    EXPECT_EQ(EncodeOnOff(false), 0u);
    EXPECT_EQ(DecodeSplit(1), true);
    EXPECT_EQ(DecodeSplit(0), false);
    EXPECT_EQ(DecodeSplit(2), std::nullopt);

    for (auto decode : {DecodeOnOff, DecodeCheckBox}) {
        EXPECT_TRUE(decode(1));
        EXPECT_FALSE(decode(0));
        EXPECT_FALSE(decode(2));
        EXPECT_FALSE(decode(0x400000));
    }
}

}  // namespace
