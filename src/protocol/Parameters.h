#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/ValueEncoding.h"

// The nineteen effect parameters the editor edits: names, pedal addresses, last known
// values, and where each one's address sits in the algorithm image's address table.
namespace varkunda::protocol {

struct standard_parameter {
    std::string parameter_name;
    std::uint16_t address = 0;
    std::uint32_t value = 0;
};

struct assignable_parameter {
    std::string parameter_name;
    std::uint16_t address = 0xFFFF;  // until the address table is read
    std::uint32_t value = 0;
    bool is_assigned = false;  // found on one of the pedal's physical controls
};

enum class ParameterKind {
    Dial,        // continuous; see fullScale
    Wave,        // two-value switch, 0x400000 on / 0x600000 off
    Split,       // on/off; other values leave the switch unchanged
    OnOff,       // on/off switch; anything but 1 is off
    CheckBox,    // 1 checked; anything else unchecked
    PitchTable,  // entry of HarmonicPitchTable
};

struct ParameterInfo {
    const char* name;
    bool assignable;
    int slot;  // place of the parameter's address in the address table
    ParameterKind kind;
    std::uint32_t fullScale;  // for dials: kDialFullScale, or the pedal's step count
};

inline constexpr std::size_t kParameterCount = 19;
inline constexpr std::size_t kStandardParameterCount = 10;
inline constexpr std::size_t kAssignableParameterCount = 9;
inline constexpr std::size_t kFirstAssignableIndex = kStandardParameterCount;

// Parameter indexes: the order of the status reply, the parameter print and preset files.
namespace param {
inline constexpr std::size_t kDry = 0;
inline constexpr std::size_t kSubMix = 1;
inline constexpr std::size_t kMinus1Oct = 2;
inline constexpr std::size_t kMinus2Oct = 3;
inline constexpr std::size_t kWave = 4;
inline constexpr std::size_t kLowPass = 5;
inline constexpr std::size_t kHighPass = 6;
inline constexpr std::size_t kFirstHarmonic = 7;
inline constexpr std::size_t kSplit = 8;
inline constexpr std::size_t kRange = 9;
inline constexpr std::size_t kInputLevel = 10;
inline constexpr std::size_t kHarmonicPitch = 11;
inline constexpr std::size_t kWaveClip = 12;
inline constexpr std::size_t kDominantNotesCut = 13;
inline constexpr std::size_t kHighNotesCut = 14;
inline constexpr std::size_t kDryHpf = 15;
inline constexpr std::size_t kLimitRangeUp = 16;
inline constexpr std::size_t kNoiseGateStatus = 17;
inline constexpr std::size_t kNoiseGateThreshold = 18;
}  // namespace param

inline constexpr std::array<ParameterInfo, kParameterCount> kParameterInfo = {{
    {"Dry", false, 0, ParameterKind::Dial, kDialFullScale},
    {"Sub Mix", false, 1, ParameterKind::Dial, kDialFullScale},
    {"-1 Oct", false, 2, ParameterKind::Dial, kDialFullScale},
    {"-2 Oct", false, 3, ParameterKind::Dial, kDialFullScale},
    {"Wave", false, 4, ParameterKind::Wave, kDialFullScale},
    {"Low Pass", false, 5, ParameterKind::Dial, 24},
    {"High Pass", false, 6, ParameterKind::Dial, 16},
    {"1st Harmonic", false, 7, ParameterKind::Dial, kDialFullScale},
    {"Split", false, 8, ParameterKind::Split, kDialFullScale},
    {"Range", false, 9, ParameterKind::Dial, 22},
    {"Input Level", true, 12, ParameterKind::Dial, kDialFullScale},
    {"1st Harmonic Pitch", true, 13, ParameterKind::PitchTable, kDialFullScale},
    {"Wave Clip", true, 14, ParameterKind::Dial, kDialFullScale},
    {"Dominant Notes Cut", true, 15, ParameterKind::CheckBox, kDialFullScale},
    {"High Notes Cut", true, 16, ParameterKind::CheckBox, kDialFullScale},
    {"Dry HPF", true, 17, ParameterKind::Dial, kDialFullScale},
    {"Limit Range UP", true, 18, ParameterKind::OnOff, kDialFullScale},
    {"Noise Gate Status", true, 19, ParameterKind::OnOff, kDialFullScale},
    {"Noise Gate Threshold", true, 20, ParameterKind::Dial, kDialFullScale},
}};

// The word an on/off control of the given kind sends (Wave: its two values; Split,
// OnOff, CheckBox: 1 or 0), and the state a word shows on it; nothing means the control
// is left as it is. Other kinds are no on/off controls: they encode as 1/0 and show
// nothing.
std::uint32_t EncodeSwitch(ParameterKind kind, bool on);
std::optional<bool> DecodeSwitch(ParameterKind kind, std::uint32_t value);

// The algorithm image's address table: 21 slots of four hex digits, slot k at
// characters 7 + 4k to 10 + 4k of the image's first line (counted from 1).
inline constexpr std::size_t kAddressSlotCount = 21;
inline constexpr std::size_t kAddressTableOffset = 6;
inline constexpr std::size_t kAddressTableEnd = kAddressTableOffset + 4 * kAddressSlotCount;
using AddressTable = std::array<std::uint16_t, kAddressSlotCount>;

// Nothing, with `error` set to the reason, when the line is too short to hold all 21
// slots or a slot is not hexadecimal.
std::optional<AddressTable> ParseAddressTable(std::string_view imageLine,
                                              std::string* error = nullptr);

// The ten standard and nine assignable parameter objects, addressed by parameter index.
// Indexes out of range throw std::out_of_range.
class ParameterSet {
  public:
    ParameterSet();

    std::size_t size() const { return kParameterCount; }
    const std::string& name(std::size_t i) const;
    std::uint16_t& address(std::size_t i);
    std::uint16_t address(std::size_t i) const;
    std::uint32_t& value(std::size_t i);
    std::uint32_t value(std::size_t i) const;
    bool isAssignable(std::size_t i) const;
    const ParameterInfo& info(std::size_t i) const { return kParameterInfo.at(i); }
    std::optional<std::size_t> indexOf(std::string_view parameterName) const;

    standard_parameter& standard(std::size_t i);  // i = 0..9
    const standard_parameter& standard(std::size_t i) const;
    // k = 0..8, in the order of the store message ("Input Level" .. "Noise Gate Threshold").
    assignable_parameter& assignable(std::size_t k);
    const assignable_parameter& assignable(std::size_t k) const;
    std::array<std::uint32_t, kAssignableParameterCount> assignableValues() const;

    std::array<std::uint32_t, kParameterCount> values() const;
    void setValues(const std::array<std::uint32_t, kParameterCount>& values);

    // Gives every parameter the address of its slot.
    void LoadParameterAddresses(const AddressTable& table);
    // Reads the table from the image's first line; on failure no address changes.
    bool LoadParameterAddresses(std::string_view imageLine, std::string* error = nullptr);

  private:
    std::array<standard_parameter, kStandardParameterCount> standard_;
    std::array<assignable_parameter, kAssignableParameterCount> assignable_;
};

}  // namespace varkunda::protocol
