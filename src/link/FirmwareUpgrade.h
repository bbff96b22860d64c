#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "link/BootloaderClient.h"

namespace varkunda::link {

// What a front end hears while a firmware upgrade runs.
struct FirmwareUpgradeHooks {
    BootloaderClient::Progress written{};   // chunks written so far, of all
    BootloaderClient::Progress verified{};  // chunks read back and compared so far
    // The image is in flash, checked, with its version record; the pedal starts on Go.
    std::function<void()> beforeGo{};
    // Off: no chunk is read back (a quicker run for a bench that checks otherwise).
    bool readBack = true;
};

// The whole upgrade through a connected bootloader: erase, write, read every chunk back
// and compare it, version record, Go, then the line back to the firmware's settings. An
// image or number the flash cannot take is refused before anything is erased. The first
// failure ends the run: no record and no Go after a failed write or read-back, so the
// pedal stays in its bootloader and the next run starts again from the erase. A
// bootloader that refuses Read Memory is noted in the log and the run goes on unchecked.
BootloaderResult RunFirmwareUpgrade(Transport& transport, std::span<const std::uint8_t> image,
                                    unsigned firmwareNumber,
                                    const FirmwareUpgradeHooks& hooks = {});

// One sentence naming the failed step and, where there is one, the chunk.
std::string BootloaderErrorText(const BootloaderError& error);

}  // namespace varkunda::link
