#include "protocol/ValueEncoding.h"

#include <algorithm>

namespace varkunda::protocol {
namespace {

constexpr int kMaximumStep = 1023;  // 10 significant bits
constexpr int kValueShift = 13;

// Straight line through (i0, o0) and (i1, o1), dividing with truncation toward zero.
int Lin(int n, int i0, int i1, int o0, int o1) { return o0 + (n - i0) * (o1 - o0) / (i1 - i0); }

int StepNumber(std::uint32_t value, std::uint32_t fullScale) {
    if (fullScale == kDialFullScale)
        return static_cast<int>(std::min<std::uint32_t>(value >> kValueShift, kMaximumStep));
    if (fullScale == 0) return 0;
    const std::uint32_t scaled = (8192 / fullScale) * value;  // wraps to 32 bits
    return static_cast<int>(std::min<std::uint32_t>(scaled >> 3, kMaximumStep));
}

}  // namespace

int NormaliseDialAngle(int angle) {
    if (angle >= -180 && angle <= 180) return angle;
    const long long turned = ((static_cast<long long>(angle) + 180) % 360 + 360) % 360;
    return static_cast<int>(turned - 180);
}

int SnapDialAngle(int angle) {
    angle = NormaliseDialAngle(angle);
    if (angle >= kDialMaximumStop || angle <= kDialMinimumStop) return angle;
    return angle <= -90 ? kDialMinimumStop : kDialMaximumStop;
}

int DialSweepPosition(int angle) {
    angle = SnapDialAngle(angle);
    if (angle == -180) angle = 180;
    if (angle <= kDialMinimumStop) return kDialMinimumStop - angle;
    return 224 - angle;
}

std::uint32_t DialAngleToValue(int angle) {
    constexpr int kLastPosition = 1076 / 4;  // 269
    const int position = DialSweepPosition(angle);
    // n = position * 1023 / 269 rounded to the nearest integer.
    const int step = (2 * position * kMaximumStep + kLastPosition) / (2 * kLastPosition);
    return static_cast<std::uint32_t>(step) << kValueShift;
}

std::uint32_t DialAngleToStep(int angle, std::uint32_t steps) {
    const std::uint64_t scaled = std::uint64_t{DialAngleToValue(angle)} * steps;
    return static_cast<std::uint32_t>((scaled + kDialFullScale / 2) / kDialFullScale);
}

int ValueToDialAngle(std::uint32_t value, std::uint32_t fullScale) {
    const int n = StepNumber(value, fullScale);
    if (n <= 169) return Lin(n, 0, 169, -135, -179);
    if (n <= 339) return Lin(n, 170, 339, 180, 135);
    if (n <= 511) return Lin(n, 340, 511, 136, 90);
    if (n <= 680) return Lin(n, 512, 680, 89, 45);
    if (n <= 850) return Lin(n, 681, 850, 44, 0);
    return Lin(n, 851, 1023, -1, -45);
}

std::optional<std::size_t> PitchTableIndex(std::uint32_t value) {
    const auto entry = std::find(HarmonicPitchTable.begin(), HarmonicPitchTable.end(), value);
    if (entry == HarmonicPitchTable.end()) return std::nullopt;
    return static_cast<std::size_t>(entry - HarmonicPitchTable.begin());
}

std::uint32_t EncodeWave(bool on) { return on ? kWaveOnValue : kWaveOffValue; }

std::optional<bool> DecodeWave(std::uint32_t value) {
    if (value == kWaveOnValue) return true;
    if (value == kWaveOffValue) return false;
    return std::nullopt;
}

std::uint32_t EncodeOnOff(bool on) { return on ? 1 : 0; }

std::optional<bool> DecodeSplit(std::uint32_t value) {
    if (value == 1) return true;
    if (value == 0) return false;
    return std::nullopt;
}

bool DecodeOnOff(std::uint32_t value) { return value == 1; }

bool DecodeCheckBox(std::uint32_t value) { return value == 1; }

}  // namespace varkunda::protocol
