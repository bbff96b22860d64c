#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/Messages.h"
#include "protocol/Parameters.h"

// What the pedal's controls and remote footswitch can be assigned to.
namespace varkunda::protocol {

// In the order of the assign message and of the status reply.
enum AssignControl : std::size_t { kControlI, kControlII, kControlIII, kControlIV, kRemote };
inline constexpr std::size_t kAssignControlCount = 5;

// Controls I and II take the continuous parameters, III and IV the on/off ones, each in
// the order of the effect window's lists (after their "Not Assigned" entry).
inline constexpr std::array<std::size_t, 5> kContinuousChoices = {
    param::kInputLevel, param::kHarmonicPitch, param::kWaveClip, param::kDryHpf,
    param::kNoiseGateThreshold};
inline constexpr std::array<std::size_t, 4> kOnOffChoices = {
    param::kDominantNotesCut, param::kHighNotesCut, param::kLimitRangeUp, param::kNoiseGateStatus};

constexpr std::span<const std::size_t> AssignmentChoicesOf(std::size_t control) {
    if (control == kControlI || control == kControlII) return kContinuousChoices;
    return kOnOffChoices;
}

// The remote footswitch's fields for its list entries: Not Assigned, Bypass, Preset.
inline constexpr std::array<std::uint16_t, 3> kRemoteFields = {kNotAssigned, kRemoteBypass,
                                                               kRemotePresetChange};

}  // namespace varkunda::protocol
