#pragma once

#include <cstddef>
#include <cstdint>

// Faults a test can script into the software pedal's ROM bootloader.
namespace varkunda::sim {

// The bootloader's commands, by opcode.
enum class BootloaderCommand : std::uint8_t {
    Get = 0x00,
    GetVersion = 0x01,
    GetId = 0x02,
    ReadMemory = 0x11,
    Go = 0x21,
    WriteMemory = 0x31,
    Erase = 0x43,
};

// The points where the bootloader answers: the sync byte, the command byte and its
// complement, the address frame, and the rest of the command (Write Memory's data
// frame, Read Memory's length, Erase's page list or global erase).
enum class BootloaderStep { Sync, Command, Address, Data };

enum class BootloaderFaultAction {
    Nack,       // answers NACK instead of ACK and drops the command
    Silence,    // answers nothing and drops the command
    Unplug,     // loses power instead of answering; a write is left half programmed
    WrongData,  // at the data step of Write or Read Memory: acknowledges, but the first
                // byte programmed or sent back is inverted
    StrayZero,  // sends a 0x00 before its answer, as some parts do before their first ACK
};

// Fires once, at `step` of the `occurrence`-th use of `command` (0 the first) counted
// from when the fault is injected; in a write run that is the chunk's index. At the Sync
// step `command` is not used and the sync bytes answered are counted.
struct BootloaderFault {
    BootloaderFaultAction action = BootloaderFaultAction::Nack;
    BootloaderStep step = BootloaderStep::Data;
    BootloaderCommand command = BootloaderCommand::WriteMemory;
    std::size_t occurrence = 0;
};

}  // namespace varkunda::sim
