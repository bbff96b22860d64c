#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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

    void log(std::string event) {
        events.push_back(std::move(event));
        ignoredRun = {};
    }
    // Bytes ignored for the same reason one after another share one event, rewritten as
    // the run grows, so a noisy line does not grow the log byte by byte. The event reads
    // prefix + the run's first 16 bytes in hex ("..." after them when there are more) +
    // suffix, and " (N bytes)" once the run has more than one piece.
    void logIgnored(std::span<const std::uint8_t> bytes, const std::string& prefix,
                    const std::string& suffix);

  private:
    struct IgnoredRun {
        std::string prefix, suffix;
        std::vector<std::uint8_t> shown;
        std::size_t bytes = 0, pieces = 0;
        std::string event;  // as last written: a cleared log ends the run
    };
    IgnoredRun ignoredRun;
};

}  // namespace varkunda::sim
