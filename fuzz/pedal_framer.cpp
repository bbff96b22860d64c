// The software pedal's message framer: any host byte stream is cut into messages of
// the lengths their command codes fix, losing and adding nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "sim/MessageFramer.h"

using varkunda::sim::FixedMessageLength;
using varkunda::sim::MessageFramer;

namespace {

std::size_t LengthOf(const std::vector<std::uint8_t>& message) {
    if (message[0] != 0x00) return FixedMessageLength(message[0]).value_or(1);
    FUZZ_CHECK(message.size() >= 3);
    return std::max<std::size_t>(std::size_t{message[1]} << 8 | message[2], 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MessageFramer framer;
    std::vector<std::uint8_t> seen;
    for (std::size_t i = 0; i < size; ++i) {
        const auto message = framer.push(data[i]);
        FUZZ_CHECK(framer.midMessage() == !message.has_value());
        if (!message) continue;
        FUZZ_CHECK(!message->empty() && message->size() == LengthOf(*message));
        seen.insert(seen.end(), message->begin(), message->end());
    }
    const std::vector<std::uint8_t> rest = framer.discard();
    FUZZ_CHECK(!framer.midMessage());
    seen.insert(seen.end(), rest.begin(), rest.end());
    FUZZ_CHECK(std::equal(seen.begin(), seen.end(), data, data + size));
    return 0;
}
