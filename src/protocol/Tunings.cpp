#include "protocol/Tunings.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "protocol/HexText.h"
#include "protocol/Messages.h"

namespace varkunda::protocol {
namespace {

constexpr double kSampleRate = 48000.0;
constexpr double kFixedPointScale = 8388608.0;  // 2^23

struct Filter {
    int midiNote;
    double gainDb;
    double quality;
};

// Entries 0..17: D2 to G3 at -6 dB, Q 11; entries 18..31: C3 to C#4 at -20 dB, Q 12.
Filter FilterOf(std::size_t entry) {
    if (entry < 18) return {38 + static_cast<int>(entry), -6.0, 11.0};
    return {48 + static_cast<int>(entry - 18), -20.0, 12.0};
}

double NoteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

std::int32_t FixedPoint(double coefficient) {
    return static_cast<std::int32_t>(std::llround(coefficient * kFixedPointScale));
}

}  // namespace

// The peaking equaliser of the Audio EQ Cookbook, normalised by a0.
TuningCoefficients TuningEntry(std::size_t entry) {
    if (entry >= kTuningEntryCount) throw std::out_of_range("tuning entry");
    const Filter filter = FilterOf(entry);
    const double a = std::pow(10.0, filter.gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * NoteFrequency(filter.midiNote) / kSampleRate;
    const double alpha = std::sin(w0) / (2.0 * filter.quality);
    const double a0 = 1.0 + alpha / a;
    return {FixedPoint((1.0 + alpha * a) / a0), FixedPoint(-2.0 * std::cos(w0) / a0),
            FixedPoint((1.0 - alpha * a) / a0), FixedPoint(2.0 * std::cos(w0) / a0),
            FixedPoint(-(1.0 - alpha / a) / a0)};
}

std::vector<std::uint8_t> TuningDataBytes() {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kTuningDataBytes);
    for (std::size_t entry = 0; entry < kTuningEntryCount; ++entry) {
        for (std::int32_t coefficient : TuningEntry(entry)) {
            const auto word = static_cast<std::uint32_t>(coefficient);
            for (int shift = 24; shift >= 0; shift -= 8)
                bytes.push_back(static_cast<std::uint8_t>(word >> shift));
        }
    }
    return bytes;
}

std::string TuningDataText() { return BytesToHexText(TuningDataBytes()); }

std::string TuningDataMessage(std::string_view tuningDataText) {
    return HexByte(command::kTuningData) + std::string(tuningDataText);
}

}  // namespace varkunda::protocol
