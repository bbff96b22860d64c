#pragma once

#include <cstdint>
#include <optional>

#include "sim/PedalMemory.h"

namespace varkunda::sim {

// The microcontroller's ROM serial bootloader. It answers the synchronisation byte
// 0x7F with ACK 0x79 once after it starts; until its commands are modelled, every
// other byte is logged and ignored.
class SerialBootloader {
public:
    static constexpr std::uint8_t kSync = 0x7F;
    static constexpr std::uint8_t kAck = 0x79;

    std::optional<Reply> receive(std::uint8_t byte, PedalMemory& memory);
    void restart() { synchronised_ = false; }

private:
    bool synchronised_ = false;
};

}  // namespace varkunda::sim
