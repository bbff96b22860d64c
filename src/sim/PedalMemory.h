#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/Eeprom.h"
#include "sim/Flash.h"
#include "sim/PedalSimulator.h"

// What the pedal holds, shared by its normal firmware and its ROM bootloader.
namespace varkunda::sim {

// Bytes the pedal sends back, with what they answer (the faults need to know).
struct Reply {
    enum class Kind { Status, UploadAnswer, EepromDump, BootloaderAnswer };
    Kind kind;
    std::vector<std::uint8_t> bytes;
};

struct PedalMemory {
    PedalIdentity identity;
    PedalState state;
    EepromPair eeprom;
    Flash flash;  // the microcontroller's: the firmware and its version record
    std::vector<std::uint8_t> tuningData;          // as last received, 640 bytes
    std::vector<std::uint8_t> installedAlgorithm;  // the whole last upload message
    std::vector<std::string> events;

    void log(std::string event) { events.push_back(std::move(event)); }
};

}  // namespace varkunda::sim
