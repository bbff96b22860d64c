#include "sim/Eeprom.h"

#include <algorithm>
#include <utility>

#include "sim/StatusReply.h"

namespace varkunda::sim {

EepromPair::EepromPair() : settings_(kEepromSize, 0xFF), data_(kEepromSize, 0xFF) {}

const std::vector<std::uint8_t>* EepromPair::chip(std::uint8_t busAddress) const {
    if (busAddress == kSettingsEeprom) return &settings_;
    if (busAddress == kDataEeprom) return &data_;
    return nullptr;
}

std::vector<std::uint8_t>* EepromPair::writableChip(std::uint8_t busAddress) {
    return const_cast<std::vector<std::uint8_t>*>(std::as_const(*this).chip(busAddress));
}

bool EepromPair::erase(std::uint8_t busAddress) {
    auto* bytes = writableChip(busAddress);
    if (!bytes) return false;
    std::fill(bytes->begin(), bytes->end(), 0xFF);
    return true;
}

void EepromPair::recordSettings(const PedalState& state) {
    std::vector<std::uint8_t> table;
    for (std::uint16_t address : state.addressTable) {
        table.push_back(static_cast<std::uint8_t>(address >> 8));
        table.push_back(static_cast<std::uint8_t>(address & 0xFF));
    }
    put(settings_, kAddressTableOffset, table);
    put(settings_, kSettingsBlockOffset, SettingsBlock(state));
}

void EepromPair::recordTuningData(const std::vector<std::uint8_t>& data) {
    put(data_, kTuningDataOffset, data);
}

void EepromPair::put(std::vector<std::uint8_t>& chip, std::size_t offset,
                     const std::vector<std::uint8_t>& bytes) {
    const std::size_t count = std::min(bytes.size(), chip.size() - offset);
    std::copy_n(bytes.begin(), count, chip.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace varkunda::sim
