#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Cuts the host's byte stream into the normal firmware's messages. The first byte of a
// message is its command code, and the code fixes the length, except for the
// algorithm upload (0x00), which carries its own length in bytes 1-2. Bytes may arrive
// in any chunks.
namespace varkunda::sim {

// Length of the message that starts with `code`; nothing for the algorithm upload,
// whose length is in the message, and for codes the firmware does not know.
std::optional<std::size_t> FixedMessageLength(std::uint8_t code);

class MessageFramer {
public:
    // Takes one byte; returns the whole message when this byte completes one. A byte
    // that starts no known command is returned alone, as a message of one byte.
    std::optional<std::vector<std::uint8_t>> push(std::uint8_t byte);

    bool midMessage() const { return !partial_.empty(); }
    // Drops the bytes of an unfinished message and returns them.
    std::vector<std::uint8_t> discard();

private:
    std::optional<std::size_t> expectedLength() const;

    std::vector<std::uint8_t> partial_;
};

}  // namespace varkunda::sim
