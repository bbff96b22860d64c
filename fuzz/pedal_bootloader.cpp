// The software pedal's ROM bootloader: any bytes a buggy editor writes once the pedal
// was plugged in with SHIFT held, in any pieces. A Go that starts the firmware hands
// the rest to it. The flash changes only after a Write Memory or Erase command.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PedalFeed.h"
#include "sim/Flash.h"

namespace {

bool HoldsCommand(const std::uint8_t* data, std::size_t size, std::uint8_t code) {
    const std::uint8_t command[] = {code, static_cast<std::uint8_t>(~code)};
    return std::search(data, data + size, std::begin(command), std::end(command)) != data + size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using varkunda::sim::kFlashSize;
    using varkunda::sim::kFlashStart;
    varkunda::sim::PedalSimulator pedal;
    const auto now = UseFakeClock(pedal);
    pedal.replug(true);
    const std::vector<std::uint8_t> flashBefore = pedal.readFlash(kFlashStart, kFlashSize);
    FeedPedal(pedal, *now, data, size);
    if (!HoldsCommand(data, size, 0x31) && !HoldsCommand(data, size, 0x43))
        FUZZ_CHECK(pedal.readFlash(kFlashStart, kFlashSize) == flashBefore);
    return 0;
}
