// The decoder of the pedal's replies: any bytes down the cable.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "protocol/ReplyDecoder.h"

using varkunda::protocol::CountReplyLines;
using varkunda::protocol::DecodeReplyNumbers;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    // Every value is closed by a hex digit D, two of which fit in a byte.
    FUZZ_CHECK(DecodeReplyNumbers(bytes).size() <= 2 * size);
    FUZZ_CHECK(CountReplyLines(bytes) <= size / 2);

    // The same bytes written as the pedal writes numbers come back unchanged.
    std::string reply;
    for (std::uint8_t byte : bytes) reply += std::to_string(byte) + "\r\n";
    const std::span<const std::uint8_t> text(reinterpret_cast<const std::uint8_t*>(reply.data()),
                                             reply.size());
    FUZZ_CHECK(DecodeReplyNumbers(text) == std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    FUZZ_CHECK(CountReplyLines(text) == size);
    return 0;
}
