#pragma once

#include <chrono>

#include "link/BootloaderClient.h"

namespace varkunda::link {

// The oldest firmware that leaves for its bootloader on the enter-bootloader message;
// older firmware is upgraded by powering the pedal up with SHIFT held.
inline constexpr unsigned kFirstFirmwareWithBootloaderMessage = 9;
// The running firmware's time to hand over to the bootloader.
inline constexpr std::chrono::milliseconds kEnterBootloaderPause{100};

// Asks the running firmware into its bootloader (the enter-bootloader message and its
// pause) and connects to it: the sync must be acknowledged.
BootloaderResult EnterBootloader(BootloaderClient& client, Transport& transport);

// Connects to a bootloader that already runs: a fresh one acknowledges the sync byte;
// one that was synced before takes the sync byte for a command and refuses it (NACK),
// at once or, while it waits for the command's complement, after a second sync byte.
// Two sync bytes at most, each with its time limit.
BootloaderResult ConnectRunningBootloader(BootloaderClient& client);

}  // namespace varkunda::link
