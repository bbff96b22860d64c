// The software pedal's ROM bootloader: any bytes a buggy editor writes once the pedal
// was plugged in with SHIFT held, in any pieces. A Go that starts the firmware hands
// the rest to it.
#include <cstddef>
#include <cstdint>

#include "PedalFeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varkunda::sim::PedalSimulator pedal;
    pedal.replug(true);
    FeedPedal(pedal, data, size);
    return 0;
}
