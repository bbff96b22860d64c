#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "FuzzCheck.h"
#include "sim/PedalSimulator.h"

using FuzzClock = varkunda::sim::PedalSimulator::Clock;

// Gives the pedal a clock that moves only when the feed says, so every input runs the
// same way. The pedal keeps calling it: the time point lives as long as the caller
// keeps the pointer or the pedal does.
inline std::shared_ptr<FuzzClock::time_point> UseFakeClock(varkunda::sim::PedalSimulator& pedal) {
    auto now = std::make_shared<FuzzClock::time_point>();
    pedal.setClock([now] { return *now; });
    return now;
}

// Feeds a software pedal what a buggy editor might write. Input: [chunk][pause][bytes].
// The host writes the bytes `chunk` at a time (0: all at once) and reads all the pedal
// answers after each write; `now` moves on by (pause & 0x7F) x 10 ms between writes.
// The host sets the line the pedal expects before each write (even parity in the
// bootloader), as the editor does, unless bit 7 of pause is set.
inline void FeedPedal(varkunda::sim::PedalSimulator& pedal, FuzzClock::time_point& now,
                      const std::uint8_t* data, std::size_t size) {
    if (size < 2) return;
    const std::size_t chunk = data[0] == 0 ? size : data[0];
    const auto pause = std::chrono::milliseconds(10 * (data[1] & 0x7F));
    const bool hostFollowsPedal = (data[1] & 0x80) == 0;
    data += 2;
    size -= 2;

    std::vector<std::uint8_t> answer(4096);
    for (std::size_t offset = 0; offset < size; offset += chunk) {
        if (hostFollowsPedal) {
            varkunda::sim::LineSettings line;
            line.parity = pedal.state().inBootloader ? 2 : 0;
            pedal.setLineSettings(line);
        }
        pedal.hostWrite(data + offset, std::min(chunk, size - offset));
        while (pedal.hostRead(answer.data(), answer.size()) > 0) {
        }
        FUZZ_CHECK(pedal.hostReadable() == 0);
        now += pause;
    }
    FUZZ_CHECK(pedal.statusNumbers().size() == 102);
}
