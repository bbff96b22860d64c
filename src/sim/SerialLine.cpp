#include "sim/SerialLine.h"

#include <algorithm>

namespace varkunda::sim {
namespace {

constexpr std::uint32_t kUnsetBaudPacing = 115200;  // an unset (0) rate paces as 115200

}  // namespace

std::chrono::nanoseconds SerialLine::ByteTime(const LineSettings& line) {
    const std::uint64_t bits =
        1u + line.wordLength + (line.parity != 0 ? 1u : 0u) + (line.stopBits == 2 ? 2u : 1u);
    const std::uint64_t baud = line.baudRate != 0 ? line.baudRate : kUnsetBaudPacing;
    return std::chrono::nanoseconds(bits * 1'000'000'000ull / baud);
}

void SerialLine::setPacing(bool on, std::chrono::microseconds usbLatency) {
    pacing_ = on;
    usbLatency_ = usbLatency;
    if (on) return;
    // Whatever is on its way is there now.
    for (auto& byte : toPedal_) byte.arrival = TimePoint::min();
    for (auto& byte : toHost_) byte.atBridge = byte.readable = TimePoint::min();
    packetBytes_ = 0;
}

void SerialLine::sendToPedal(TimePoint now, const LineSettings& line, const std::uint8_t* data,
                             std::size_t count) {
    const auto byteTime = ByteTime(line);
    TimePoint at = std::max(now, toPedalFree_);
    for (std::size_t i = 0; i < count; ++i) {
        if (pacing_) at += byteTime;
        toPedal_.push_back({pacing_ ? at : TimePoint::min(), line, data[i]});
    }
    if (pacing_) toPedalFree_ = at;
}

std::vector<HostByte> SerialLine::arrivedBy(TimePoint now) {
    std::vector<HostByte> arrived;
    while (!toPedal_.empty() && toPedal_.front().arrival <= now) {
        HostByte byte = toPedal_.front();
        toPedal_.pop_front();
        if (byte.arrival == TimePoint::min()) byte.arrival = now;  // unpaced: arrives now
        arrived.push_back(byte);
    }
    return arrived;
}

void SerialLine::dropInFlightToPedal(TimePoint now) {
    while (!toPedal_.empty() && toPedal_.back().arrival > now) toPedal_.pop_back();
    toPedalFree_ = std::min(toPedalFree_, now);
}

void SerialLine::sendToHost(TimePoint sentAt, const LineSettings& line,
                            const std::vector<std::uint8_t>& bytes) {
    if (!pacing_) {
        for (std::uint8_t byte : bytes)
            toHost_.push_back({TimePoint::min(), TimePoint::min(), byte});
        return;
    }
    const auto byteTime = ByteTime(line);
    TimePoint at = std::max(sentAt, toHostFree_);
    for (std::uint8_t byte : bytes) {
        at += byteTime;
        toHost_.push_back({at, {}, byte});
        gather(toHost_.size() - 1);
    }
    toHostFree_ = at;
}

// Puts the byte at `index`, just arrived at the bridge, into the bridge's packet.
void SerialLine::gather(std::size_t index) {
    PedalByte& byte = toHost_[index];
    if (packetBytes_ > 0 && byte.atBridge > packetStart_ + packetTimer_) packetBytes_ = 0;
    if (packetBytes_ == 0) {
        packetStart_ = byte.atBridge;
        packetTimer_ = latencyTimer_;
    }
    ++packetBytes_;
    byte.readable = packetStart_ + packetTimer_ + usbLatency_;
    if (packetBytes_ < kBridgePacketBytes) return;
    // Full: the packet goes at once. No byte of it could be read before, as replies are
    // made before the host reads at any time.
    const std::size_t first = index + 1 >= packetBytes_ ? index + 1 - packetBytes_ : 0;
    for (std::size_t i = first; i <= index; ++i) toHost_[i].readable = byte.atBridge + usbLatency_;
    packetBytes_ = 0;
}

std::size_t SerialLine::readableBy(TimePoint now) const {
    // Readable times never decrease along the queue.
    const auto firstLater =
        std::partition_point(toHost_.begin(), toHost_.end(),
                             [now](const PedalByte& byte) { return byte.readable <= now; });
    return static_cast<std::size_t>(firstLater - toHost_.begin());
}

std::size_t SerialLine::read(TimePoint now, std::uint8_t* out, std::size_t max) {
    const std::size_t count = std::min(max, readableBy(now));
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = toHost_.front().value;
        toHost_.pop_front();
    }
    return count;
}

void SerialLine::dropReadable(TimePoint now) {
    const auto onTheWire =
        std::partition_point(toHost_.begin(), toHost_.end(),
                             [now](const PedalByte& byte) { return byte.atBridge <= now; });
    toHost_.erase(toHost_.begin(), onTheWire);
    // What is still on the wire makes new packets in an empty bridge.
    packetBytes_ = 0;
    if (pacing_)
        for (std::size_t i = 0; i < toHost_.size(); ++i) gather(i);
}

std::size_t SerialLine::inFlightBy(TimePoint now) const {
    const std::size_t toPedal = static_cast<std::size_t>(
        std::count_if(toPedal_.begin(), toPedal_.end(),
                      [now](const HostByte& byte) { return byte.arrival > now; }));
    return toPedal + toHost_.size() - readableBy(now);
}

void SerialLine::clear() {
    toPedal_.clear();
    toHost_.clear();
    toPedalFree_ = {};
    toHostFree_ = {};
    packetBytes_ = 0;
}

}  // namespace varkunda::sim
