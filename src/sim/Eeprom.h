#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/PedalSimulator.h"

// The pedal's two EEPROM chips on its I2C bus. 0x50 keeps the settings: the installed
// algorithm's address table at 0x0000 (21 words, most significant byte first) and the
// settings block at 0x0040 (the layout of status reply bytes 4..101). 0x51 keeps the
// tuning data at 0x0000. Bytes never written read 0xFF, as on an erased chip.
namespace varkunda::sim {

inline constexpr std::size_t kEepromSize = 16384;
inline constexpr std::uint8_t kSettingsEeprom = 0x50;
inline constexpr std::uint8_t kDataEeprom = 0x51;
inline constexpr std::size_t kAddressTableOffset = 0x0000;
inline constexpr std::size_t kSettingsBlockOffset = 0x0040;
inline constexpr std::size_t kTuningDataOffset = 0x0000;

class EepromPair {
public:
    EepromPair();

    // Nothing for a bus address without a chip.
    const std::vector<std::uint8_t>* chip(std::uint8_t busAddress) const;
    bool erase(std::uint8_t busAddress);  // false: no chip there

    void recordSettings(const PedalState& state);
    void recordTuningData(const std::vector<std::uint8_t>& data);

private:
    std::vector<std::uint8_t>* writableChip(std::uint8_t busAddress);
    void put(std::vector<std::uint8_t>& chip, std::size_t offset,
             const std::vector<std::uint8_t>& bytes);

    std::vector<std::uint8_t> settings_;
    std::vector<std::uint8_t> data_;
};

}  // namespace varkunda::sim
