#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/BootloaderFault.h"
#include "sim/Flash.h"

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
    Silence,           // the pedal answers nothing at all
    Garbage,           // the next reply is replaced by bytes that are not decimal lines
    ShortReply,        // the next status reply stops after a few numbers
    ShortDump,         // the next EEPROM dump stops after N bytes, its marker included
    UnplugAfterBytes,  // the pedal disappears after the host wrote N more bytes
    ExtraBytes,        // the next reply is followed by N bytes of garbage (8 when 0)
    SplitReply,        // the next reply reaches the host N bytes per read (1 when 0)
};

// The pedal's settings and parameter values, as its firmware keeps them.
struct PedalState {
    std::uint8_t footswitchMode = 0;
    std::uint8_t tuning = 0;
    std::int8_t semitoneVariation = 0;
    std::array<std::uint8_t, 5> assignmentFlags{};
    std::array<std::uint16_t, 5> assignmentFields{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    std::uint8_t bypass = 0;
    std::uint8_t storeBypassStatus = 0;            // reported 1 store, 0 do not store
    std::uint8_t instrumentRange = 255;            // 255 Standard, 186 Low
    std::uint8_t midiChannel = 0;                  // 0 OMNI, 1..16
    std::array<std::uint32_t, 19> parameters{};    // in the status reply's order
    std::array<std::uint16_t, 21> addressTable{};  // of the installed algorithm
    bool inBootloader = false;
};

// The software pedal: the normal firmware's command set and the microcontroller's ROM
// serial bootloader, byte for byte as the real pedal speaks them. Standard library
// only, so it can serve a pseudo-terminal as well as the in-process backend.
//
// The pedal's side of the line runs at 115200 baud, 8 data bits, no parity for the
// normal firmware and even parity for the bootloader. Bytes the host writes with
// another baud rate (beyond 3 %), word length or, while parity is visible, parity are
// lost to framing and parity errors: they are in the wire log but never reach the
// firmware, and the event log counts them. Replies always reach the host intact.
//
// The flash starts with the built-in firmware 13 test image and the version record of
// the identity's firmware number. The firmware starts from the flash at power-up and
// after the bootloader's Go, and then reports the number in the version record; with a
// blank record or vector table nothing starts and the pedal stays silent until it is
// plugged in again (with SHIFT held, into its bootloader).
class PedalSimulator {
  public:
    using Clock = std::chrono::steady_clock;

    explicit PedalSimulator(PedalIdentity identity = {});

    const PedalIdentity& identity() const;
    void setIdentity(const PedalIdentity& identity);
    // The state as of now: with pacing on, host bytes that have arrived by now are
    // taken in first.
    PedalState& state();
    const PedalState& state() const;

    // Host side of the wire.
    void setLineSettings(const LineSettings& line);
    const LineSettings& lineSettings() const;
    // A USB bridge shows the pedal the host's parity; a pseudo-terminal cannot, so its
    // server switches this off and any parity is taken. On by default.
    void setParityVisible(bool visible);
    bool parityVisible() const;
    void hostWrite(const std::uint8_t* data, std::size_t count);
    // As hostWrite; returns how many bytes the pedal took before it was unplugged.
    std::size_t hostWritePartial(const std::uint8_t* data, std::size_t count);
    std::size_t hostReadable();  // bytes the host could read now
    std::size_t hostRead(std::uint8_t* out, std::size_t max);
    void purgeToHost();    // drops bytes not yet read by the host
    void purgeFromHost();  // drops host bytes not yet taken in by the pedal
    // With pacing: host bytes not yet taken in plus reply bytes not yet readable (or,
    // for a split reply, not yet read).
    std::size_t bytesInFlight();
    bool unplugged() const;
    void unplug();
    // Plugs the pedal in again; with SHIFT held it starts in its ROM bootloader, else
    // the firmware in its flash starts. Each plug-in is a new device to the driver,
    // counted by plugGeneration(), with the bridge's latency timer back at 16 ms.
    void replug(bool shiftHeld = false);
    std::uint64_t plugGeneration() const;

    // Pacing: bytes take 10 (11 with parity) bit times at the baud rate each way. The
    // USB bridge holds the pedal's bytes back until 62 have gathered or its latency
    // timer runs out, and each packet then takes the USB latency to the host. The
    // bootloader's flash work takes the times in sim/Flash.h. Off by default (unit
    // tests).
    void setPacing(bool on, std::chrono::microseconds usbLatency = std::chrono::milliseconds(1));
    // The bridge's latency timer, as the driver sets it: 1 to 255 ms, else refused
    // (false). It holds from the next packet on.
    static constexpr std::chrono::milliseconds kDefaultLatencyTimer{16};
    bool setLatencyTimer(std::chrono::milliseconds timer);
    std::chrono::milliseconds latencyTimer() const;
    void setClock(std::function<Clock::time_point()> now);
    // A message left unfinished for longer than this is dropped when the next byte
    // comes, so the firmware finds the start of the next message again. 1 s by
    // default; 0 waits for ever.
    void setFramingTimeout(std::chrono::milliseconds timeout);

    // Silence lasts until injectFault(Fault::None); Garbage, ShortReply (after `count`
    // numbers, 10 when 0), ShortDump (after `count` bytes), ExtraBytes and SplitReply
    // spoil the next reply of their kind only; UnplugAfterBytes unplugs the pedal once the host has written
    // `count` more bytes. Fault::None clears all, the bootloader fault too.
    void injectFault(Fault fault, std::size_t count = 0);
    // One scripted bootloader fault (a later one replaces it); see BootloaderFault.
    void injectBootloaderFault(const BootloaderFault& fault);
    // From now on every status reply reports the given numbers at their indexes instead
    // of the pedal's own, as a pedal with other firmware might (a version byte with hex
    // letters, an effect number the editor does not list). Lasts until an empty map or
    // injectFault(Fault::None).
    void overrideStatusNumbers(std::map<std::size_t, std::uint8_t> numbers);

    const std::vector<WireRecord>& wireLog() const;
    std::vector<std::uint8_t> hostBytes() const;  // every byte of the wire log, in order
    void clearWireLog();

    // What the pedal did, one line per message, fault or lost run of bytes.
    const std::vector<std::string>& events() const;
    void clearEvents();

    // The 102 numbers the next status reply would carry, overrides included.
    std::vector<std::uint8_t> statusNumbers() const;
    const std::vector<std::uint8_t>& tuningData() const;          // last 0x0E table
    const std::vector<std::uint8_t>& installedAlgorithm() const;  // last 0x00 message
    // Flash contents from `address` on; empty unless all `count` bytes are flash.
    std::vector<std::uint8_t> readFlash(std::uint32_t address, std::size_t count) const;
    // The 16 384 bytes of the EEPROM at bus address 0x50 or 0x51; empty otherwise.
    std::vector<std::uint8_t> eeprom(std::uint8_t busAddress) const;

  private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace varkunda::sim
