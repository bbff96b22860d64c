#pragma once

#include <array>

// The numbers of the two firmware images built into the editor; the last one is the
// firmware the editor requires on the pedal.
inline constexpr std::array<unsigned, 2> kFirmwareNumbers{12, 13};
