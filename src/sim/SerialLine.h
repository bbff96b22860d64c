#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/PedalSimulator.h"

// The two directions of the serial line between the USB bridge and the pedal. With
// pacing on, a host byte reaches the pedal one byte time after the one before it, and a
// reply byte becomes readable one byte time after the one before it plus the USB
// latency; a byte takes 1 start bit, the data bits, a parity bit if any and the stop
// bits. With pacing off every byte is there at once.
namespace varkunda::sim {

struct HostByte {
    PedalSimulator::Clock::time_point arrival;
    LineSettings line;  // as the host had set it when it wrote the byte
    std::uint8_t value;
};

class SerialLine {
public:
    using TimePoint = PedalSimulator::Clock::time_point;

    void setPacing(bool on, std::chrono::microseconds usbLatency);
    bool pacing() const { return pacing_; }

    void sendToPedal(TimePoint now, const LineSettings& line, const std::uint8_t* data,
                     std::size_t count);
    // Takes the host bytes that have reached the pedal by `now`, in order.
    std::vector<HostByte> arrivedBy(TimePoint now);
    void dropInFlightToPedal(TimePoint now);

    // `sentAt` is when the pedal starts answering; the line paces by `line`.
    void sendToHost(TimePoint sentAt, const LineSettings& line,
                    const std::vector<std::uint8_t>& bytes);
    std::size_t readableBy(TimePoint now) const;
    std::size_t read(TimePoint now, std::uint8_t* out, std::size_t max);
    void dropReadable(TimePoint now);
    std::size_t inFlightBy(TimePoint now) const;  // both ways, not yet there by `now`

    void clear();

    static std::chrono::nanoseconds ByteTime(const LineSettings& line);

private:
    struct PedalByte {
        TimePoint readable;
        std::uint8_t value;
    };

    bool pacing_ = false;
    std::chrono::microseconds usbLatency_{0};
    std::deque<HostByte> toPedal_;
    std::deque<PedalByte> toHost_;
    TimePoint toPedalFree_{};  // when the host's last byte leaves the wire
    TimePoint toHostFree_{};   // when the pedal's last byte leaves the wire
};

}  // namespace varkunda::sim
