#include "sim/SerialBootloader.h"

#include "protocol/HexText.h"

namespace varkunda::sim {

std::optional<Reply> SerialBootloader::receive(std::uint8_t byte, PedalMemory& memory) {
    if (byte == kSync && !synchronised_) {
        synchronised_ = true;
        memory.log("bootloader: sync 7F answered 79");
        return Reply{Reply::Kind::BootloaderAnswer, {kAck}};
    }
    memory.log("bootloader: byte " + protocol::HexByte(byte) + " ignored");
    return std::nullopt;
}

}  // namespace varkunda::sim
