#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "FuzzCheck.h"
#include "sim/PedalSimulator.h"

// Feeds a software pedal what a buggy editor might write. Input: [chunk][pause][bytes].
// The host writes the bytes `chunk` at a time (0: all at once) and reads all the pedal
// answers after each write; the pedal's clock moves on by (pause & 0x7F) x 10 ms
// between writes. The host sets the line the pedal expects before each write (even
// parity in the bootloader), as the editor does, unless bit 7 of pause is set.
inline void FeedPedal(varkunda::sim::PedalSimulator& pedal, const std::uint8_t* data,
                      std::size_t size) {
    using varkunda::sim::PedalSimulator;
    if (size < 2) return;
    const std::size_t chunk = data[0] == 0 ? size : data[0];
    const auto pause = std::chrono::milliseconds(10 * (data[1] & 0x7F));
    const bool hostFollowsPedal = (data[1] & 0x80) == 0;
    data += 2;
    size -= 2;

    // The pedal keeps this clock after the feed: it must outlive this function.
    auto now = std::make_shared<PedalSimulator::Clock::time_point>();
    pedal.setClock([now] { return *now; });
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
        *now += pause;
    }
    FUZZ_CHECK(pedal.statusNumbers().size() == 102);
}
