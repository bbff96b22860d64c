#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/PedalSimulator.h"

// The two directions of the serial line between the USB bridge and the pedal. With
// pacing on, a host byte reaches the pedal one byte time after the one before it; a
// byte takes 1 start bit, the data bits, a parity bit if any and the stop bits. Reply
// bytes reach the bridge the same way, and the bridge holds them back: it passes them on
// in one packet once 62 have gathered, or when its latency timer, started by the first
// byte it holds, runs out. The host can read a packet the USB latency after that. With
// pacing off every byte is there at once.
namespace varkunda::sim {

struct HostByte {
    PedalSimulator::Clock::time_point arrival;
    LineSettings line;  // as the host had set it when it wrote the byte
    std::uint8_t value;
};

class SerialLine {
  public:
    using TimePoint = PedalSimulator::Clock::time_point;

    static constexpr std::size_t kBridgePacketBytes = 62;

    void setPacing(bool on, std::chrono::microseconds usbLatency);
    bool pacing() const { return pacing_; }
    // Holds from the next packet the bridge starts on; 16 ms until set.
    void setLatencyTimer(std::chrono::milliseconds timer) { latencyTimer_ = timer; }

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
    // Drops what the host could read and what the bridge holds: all that has crossed
    // the wire by `now`.
    void dropReadable(TimePoint now);
    std::size_t inFlightBy(TimePoint now) const;  // both ways, not yet there by `now`

    void clear();

    static std::chrono::nanoseconds ByteTime(const LineSettings& line);

  private:
    struct PedalByte {
        TimePoint atBridge;
        TimePoint readable;
        std::uint8_t value;
    };

    void gather(std::size_t index);

    bool pacing_ = false;
    std::chrono::microseconds usbLatency_{0};
    std::chrono::milliseconds latencyTimer_{16};
    // The bridge's last packet: the last `packetBytes_` bytes of toHost_, held until
    // packetStart_ + packetTimer_ unless it fills up first.
    TimePoint packetStart_{};
    std::chrono::milliseconds packetTimer_{16};
    std::size_t packetBytes_ = 0;
    std::deque<HostByte> toPedal_;
    std::deque<PedalByte> toHost_;
    TimePoint toPedalFree_{};  // when the host's last byte leaves the wire
    TimePoint toHostFree_{};   // when the pedal's last byte leaves the wire
};

}  // namespace varkunda::sim
