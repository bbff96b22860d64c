#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <functional>
#include <string>
#include <vector>

namespace varkunda::sim {

// Line settings as the host set them, in the driver's codes (parity 0 none, 2 even).
struct LineSettings {
    std::uint32_t baudRate = 115200;
    std::uint8_t wordLength = 8;
    std::uint8_t stopBits = 0;
    std::uint8_t parity = 0;
    bool operator==(const LineSettings&) const = default;
};

// Who the simulated pedal says it is.
struct PedalIdentity {
    std::string serialNumber = "VKTZ5001";
    std::string description = "Varkunda TZ5";
    std::uint8_t firmware = 13;
    std::uint16_t algorithmNumber = 14;  // reported as the digits "0014" in two bytes
    std::uint8_t effectIndex = 0;
};

// One host write as the pedal saw it, with the line settings in force.
struct WireRecord {
    LineSettings line;
    std::vector<std::uint8_t> bytes;
};

enum class Fault {
    None,
    Silence,        // the pedal answers nothing at all
    Garbage,        // the next reply is replaced by bytes that are not decimal lines
    ShortReply,     // the next status reply stops after a few numbers
    UnplugAfterBytes,  // the pedal disappears after the host wrote N more bytes
};

// The pedal's settings and parameter values, as its firmware keeps them.
struct PedalState {
    std::uint8_t footswitchMode = 0;
    std::uint8_t tuning = 0;
    std::int8_t semitoneVariation = 0;
    std::array<std::uint8_t, 5> assignmentFlags{};
    std::array<std::uint16_t, 5> assignmentFields{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    std::uint8_t bypass = 0;
    std::uint8_t storeBypassStatus = 0;  // reported 1 store, 0 do not store
    std::uint8_t instrumentRange = 255;  // 255 Standard, 186 Low
    std::uint8_t midiChannel = 0;        // 0 OMNI, 1..16
    std::array<std::uint32_t, 19> parameters{};  // in the status reply's order
    std::array<std::uint16_t, 21> addressTable{};  // of the installed algorithm
    bool inBootloader = false;
};

// The software pedal: the normal firmware's command set and the answer of the ROM
// bootloader's synchronisation byte, byte for byte as the real pedal speaks them.
// Standard library only, so it can serve a pseudo-terminal as well as the in-process
// backend.
class PedalSimulator {
public:
    using Clock = std::chrono::steady_clock;

    explicit PedalSimulator(PedalIdentity identity = {});

    const PedalIdentity& identity() const;
    PedalState& state();
    const PedalState& state() const;

    // Host side of the wire.
    void setLineSettings(const LineSettings& line);
    const LineSettings& lineSettings() const;
    void hostWrite(const std::uint8_t* data, std::size_t count);
    std::size_t hostReadable();  // bytes the host could read now
    std::size_t hostRead(std::uint8_t* out, std::size_t max);
    void purgeToHost();    // drops bytes not yet read by the host
    void purgeFromHost();  // drops host bytes not yet taken in by the pedal
    bool unplugged() const;

    // Pacing: bytes take 10 (11 with parity) bit times at the baud rate each way, plus
    // a USB latency per transfer. Off by default (unit tests).
    void setPacing(bool on, std::chrono::microseconds usbLatency = std::chrono::milliseconds(1));
    void setClock(std::function<Clock::time_point()> now);

    void injectFault(Fault fault, std::size_t count = 0);

    const std::vector<WireRecord>& wireLog() const;
    std::vector<std::uint8_t> hostBytes() const;  // every byte of the wire log, in order
    void clearWireLog();

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace varkunda::sim
