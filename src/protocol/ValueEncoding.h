#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Conversions between what the effect window shows (dial angles, switches, list
// entries) and the 32-bit parameter words the pedal takes.
namespace varkunda::protocol {

// Full scale of a continuous parameter's fixed-point fraction.
inline constexpr std::uint32_t kDialFullScale = 0x800000;

// Dial geometry: angles in whole degrees, -180..180, counter-clockwise from the right.
// The sweep runs clockwise from the minimum stop through 180, 90 and 0 to the maximum
// stop; the quarter between the stops, at the bottom, is a dead zone.
inline constexpr int kDialMinimumStop = -135;
inline constexpr int kDialMaximumStop = -45;
inline constexpr int kDialSweepPositions = 270;  // 0 at the minimum stop .. 269 at the maximum

// Angles outside -180..180 are wrapped by whole turns into -180..179; angles inside
// are returned as they are.
int NormaliseDialAngle(int angle);

// Moves an angle out of the dead zone to the nearer stop (-90 itself to the minimum).
// Angles outside -180..180 are normalised first.
int SnapDialAngle(int angle);

// Position 0..269 on the sweep of the snapped angle; -179 and 180 (and -180) give 44.
int DialSweepPosition(int angle);

// The word a dial at `angle` sends: 10 significant bits in bit positions 13 to 22,
// 0 at the minimum stop up to 0x7FE000 at the maximum. The angle is snapped first.
std::uint32_t DialAngleToValue(int angle);

// The step a pedal that keeps a parameter as a step number 0..steps makes of the word a
// dial at `angle` sends: the word scaled to the steps and rounded.
std::uint32_t DialAngleToStep(int angle, std::uint32_t steps);

// The angle at which a dial shows `value`. `fullScale` is kDialFullScale for a
// fraction, or the number of steps for the dials the pedal reports as a step number
// (24 Low Pass, 16 High Pass, 22 Range). A full scale of 0 shows the minimum stop.
int ValueToDialAngle(std::uint32_t value, std::uint32_t fullScale);

// The value sent for each entry of the harmonic pitch list; entry i stands for i - 12
// semitones.
inline constexpr int kHarmonicPitchLowestSemitone = -12;
inline constexpr std::array<std::uint32_t, 25> HarmonicPitchTable = {
    0x200000, 0x22AAA8, 0x255558, 0x280000, 0x2AAAA8, 0x2D5558, 0x300000, 0x32AAA8, 0x355558,
    0x380000, 0x3AAAA8, 0x3D5558, 0x400000, 0x455558, 0x4AAAA8, 0x500000, 0x555558, 0x5AAAA8,
    0x600000, 0x655558, 0x6AAAA8, 0x700000, 0x755558, 0x7AAAA8, 0x800000};

// The list entry whose value equals `value`; nothing when none does.
std::optional<std::size_t> PitchTableIndex(std::uint32_t value);

// "Wave" two-value switch.
inline constexpr std::uint32_t kWaveOnValue = 0x400000;
inline constexpr std::uint32_t kWaveOffValue = 0x600000;
std::uint32_t EncodeWave(bool on);
std::optional<bool> DecodeWave(std::uint32_t value);  // nothing: leave the switch as it is

// Every on/off parameter sends 1 for on (checked) and 0 for off.
std::uint32_t EncodeOnOff(bool on);
std::optional<bool> DecodeSplit(std::uint32_t value);  // 1 on, 0 off, else nothing
bool DecodeOnOff(std::uint32_t value);                 // "Limit Range UP", "Noise Gate Status"
bool DecodeCheckBox(std::uint32_t value);              // note-cut check boxes

}  // namespace varkunda::protocol
