// The software pedal's normal firmware: any bytes a buggy editor writes, in any
// pieces, with pauses that drop unfinished messages.
#include <cstddef>
#include <cstdint>

#include "PedalFeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varkunda::sim::PedalSimulator pedal;
    const auto now = UseFakeClock(pedal);
    FeedPedal(pedal, *now, data, size);
    return 0;
}
