#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// How the pedal's firmware finds a parameter from the address a set-parameter message
// names, and how it reports the value it received.
namespace varkunda::sim {

inline constexpr std::size_t kParameterCount = 19;
inline constexpr std::size_t kAddressSlotCount = 21;

using AddressTable = std::array<std::uint16_t, kAddressSlotCount>;

// The address table of the built-in algorithm image.
AddressTable BuiltInAddressTable();

// Slots 0..8 hold parameters 0..8, slot 9 "Range" (parameter 9), slots 12..20
// parameters 10..18; slots 10 and 11 belong to no reported parameter.
std::optional<std::size_t> ParameterOfSlot(std::size_t slot);

// The parameter's name in status-reply order, "?" beyond the last one.
const char* ParameterName(std::size_t parameter);

// "Low Pass", "High Pass" and "Range" are reported as a step number (0..24, 0..16,
// 0..22) rather than a fraction: a received fraction v, in which 0x800000 stands for
// full scale, becomes round(v * steps / 0x800000), at most steps. Every other
// parameter reports the value it received.
std::uint32_t ReportedValue(std::size_t parameter, std::uint32_t received);

}  // namespace varkunda::sim
