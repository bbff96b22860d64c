#include "sim/PedalSimulator.h"

#include <algorithm>
#include <optional>
#include <string>

#include "protocol/HexText.h"
#include "sim/FactorySettings.h"
#include "sim/MessageFramer.h"
#include "sim/PedalFirmware.h"
#include "sim/PedalMemory.h"
#include "sim/SerialBootloader.h"
#include "sim/SerialLine.h"
#include "sim/StatusReply.h"
#include "tools/TestImages.h"

namespace varkunda::sim {
namespace {

constexpr std::uint32_t kPedalBaudRate = 115200;
constexpr std::uint8_t kPedalWordLength = 8;
constexpr std::uint32_t kBaudTolerancePercent = 3;
constexpr std::size_t kDefaultShortReplyNumbers = 10;
constexpr std::size_t kDefaultExtraBytes = 8;
constexpr int kFactoryFirmwareImage = 13;
constexpr std::chrono::milliseconds kMaxLatencyTimer{255};

// Printable bytes whose hex form holds neither A nor D, so no reader mistakes any of
// them for a line end or a digit.
constexpr std::uint8_t kGarbage[] = {'#', '?', '~', '!', '%', '&', '$', '@'};

std::vector<std::uint8_t> GarbageOfLength(std::size_t length) {
    std::vector<std::uint8_t> bytes(std::max<std::size_t>(length, 1));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = kGarbage[i % std::size(kGarbage)];
    return bytes;
}

// The reply text up to and including the CR LF of its `numbers`-th line.
std::vector<std::uint8_t> FirstLines(const std::vector<std::uint8_t>& text, std::size_t numbers) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && ++seen == numbers)
            return {text.begin(), text.begin() + static_cast<std::ptrdiff_t>(i + 1)};
    }
    return text;
}

std::string Describe(const LineSettings& line) {
    return std::to_string(line.baudRate) + " baud, " + std::to_string(line.wordLength) +
           " bits, parity " + std::to_string(line.parity);
}

}  // namespace

struct PedalSimulator::Impl {
    struct Faults {
        bool silence = false;
        bool garbage = false;
        std::optional<std::size_t> shortReply;
        std::optional<std::size_t> shortDump;
        std::optional<std::size_t> unplugAfter;
        std::optional<std::size_t> extraBytes;
        std::optional<std::size_t> splitPiece;
        std::map<std::size_t, std::uint8_t> statusOverrides;
    };
    // A split reply: how many of its bytes are still to be read, and how many per read.
    struct Split {
        std::size_t left = 0;
        std::size_t piece = 1;
    };

    explicit Impl(PedalIdentity identity) {
        memory.identity = std::move(identity);
        memory.state = FactoryState();
        memory.eeprom.recordSettings(memory.state);
        memory.flash.install(kFlashStart, images::FirmwareTestImage(kFactoryFirmwareImage));
        installVersionRecord();
    }

    PedalMemory memory;
    PedalFirmware firmware{memory};
    SerialBootloader bootloader;
    MessageFramer framer;
    SerialLine wire;
    LineSettings line;
    bool parityVisible = true;
    std::function<Clock::time_point()> clock = [] { return Clock::now(); };
    std::chrono::milliseconds framingTimeout{1000};
    std::optional<Clock::time_point> lastMessageByteAt;
    std::vector<WireRecord> wireLog;
    Faults faults;
    Split split;
    bool unplugged = false;
    bool halted = false;  // neither firmware nor bootloader runs: a pedal that did not start
    std::chrono::milliseconds latencyTimer = PedalSimulator::kDefaultLatencyTimer;
    std::uint64_t generation = 0;

    LineSettings pedalLine() const {
        LineSettings expected;
        expected.baudRate = kPedalBaudRate;
        expected.wordLength = kPedalWordLength;
        expected.parity = memory.state.inBootloader ? 2 : 0;
        return expected;
    }

    bool lineAccepted(const LineSettings& host) const {
        const LineSettings expected = pedalLine();
        const std::uint64_t deviation = host.baudRate > expected.baudRate
                                            ? host.baudRate - expected.baudRate
                                            : expected.baudRate - host.baudRate;
        if (deviation * 100 > std::uint64_t{expected.baudRate} * kBaudTolerancePercent)
            return false;
        if (host.wordLength != expected.wordLength) return false;
        return !parityVisible || host.parity == expected.parity;
    }

    // Takes in the host bytes that have arrived by now; returns now.
    Clock::time_point advance() {
        const auto now = clock();
        if (unplugged) return now;
        std::size_t lost = 0;
        std::size_t unheard = 0;
        LineSettings lostLine;
        for (const HostByte& byte : wire.arrivedBy(now)) {
            if (unplugged) break;
            if (halted) {
                ++unheard;
                continue;
            }
            if (!lineAccepted(byte.line)) {
                ++lost;
                lostLine = byte.line;
                continue;
            }
            deliver(byte);
        }
        if (lost > 0)
            memory.log("lost " + std::to_string(lost) + " host bytes sent at " +
                       Describe(lostLine) + "; the pedal expects " + Describe(pedalLine()));
        if (unheard > 0)
            memory.log("no firmware runs: " + std::to_string(unheard) + " host bytes unheard");
        return now;
    }

    void deliver(const HostByte& byte) {
        if (memory.state.inBootloader) return deliverToBootloader(byte);
        dropStaleMessage(byte.arrival);
        lastMessageByteAt = byte.arrival;
        const auto message = framer.push(byte.value);
        if (!message) return;
        auto reply = firmware.handle(*message);
        if (memory.state.inBootloader) bootloader.restart();
        if (reply) emit(*reply, byte.arrival);
    }

    void deliverToBootloader(const HostByte& byte) {
        BootloaderOutput output = bootloader.receive(byte.value, memory);
        if (!output.answer.empty())
            emit({Reply::Kind::BootloaderAnswer, std::move(output.answer)},
                 byte.arrival + output.busy);
        if (output.powerLost) unplug();
        if (output.jump) startFirmware(*output.jump);
    }

    // The firmware whose vector table is at `address` starts, if the flash holds one
    // with a version record; it reports the record's number. The settings in the
    // EEPROM stay; the bypass is kept only if stored.
    void startFirmware(std::uint32_t address) {
        memory.state.inBootloader = false;
        framer.discard();
        lastMessageByteAt.reset();
        if (memory.state.storeBypassStatus == 0) memory.state.bypass = 0;
        const auto firmware = StartableFirmware(memory.flash, address);
        halted = !firmware;
        if (halted) {
            memory.log("no firmware starts from " + protocol::HexWord32(address) +
                       ": the pedal stays silent");
            return;
        }
        memory.identity.firmware = *firmware;
        memory.log("firmware " + std::to_string(*firmware) + " started");
    }

    void installVersionRecord() {
        memory.flash.install(kVersionRecordAddress, VersionRecord(memory.identity.firmware));
    }

    void dropStaleMessage(Clock::time_point arrival) {
        if (!framer.midMessage() || framingTimeout.count() == 0 || !lastMessageByteAt) return;
        if (arrival - *lastMessageByteAt <= framingTimeout) return;
        const auto dropped = framer.discard();
        memory.log("dropped an unfinished message of " + std::to_string(dropped.size()) +
                   " bytes starting " + protocol::HexByte(dropped.front()) + " after a pause");
    }

    std::vector<std::uint8_t> statusNumbers() const {
        std::vector<std::uint8_t> numbers = StatusNumbers(memory.identity, memory.state);
        for (const auto& [index, value] : faults.statusOverrides)
            if (index < numbers.size()) numbers[index] = value;
        return numbers;
    }

    void emit(Reply reply, Clock::time_point at) {
        if (reply.kind == Reply::Kind::Status && !faults.statusOverrides.empty()) {
            reply.bytes = DecimalLines(statusNumbers());
            memory.log("fault StatusOverride: " + std::to_string(faults.statusOverrides.size()) +
                       " numbers of the status reply replaced");
        }
        if (faults.silence) {
            memory.log("fault Silence: withheld a reply of " + std::to_string(reply.bytes.size()) +
                       " bytes");
            return;
        }
        if (faults.garbage) {
            faults.garbage = false;
            reply.bytes = GarbageOfLength(reply.bytes.size());
            memory.log("fault Garbage: reply replaced by " + std::to_string(reply.bytes.size()) +
                       " bytes of garbage");
        } else if (faults.shortReply && reply.kind == Reply::Kind::Status) {
            reply.bytes = FirstLines(reply.bytes, *faults.shortReply);
            memory.log("fault ShortReply: status reply cut after " +
                       std::to_string(*faults.shortReply) + " numbers");
            faults.shortReply.reset();
        } else if (faults.shortDump && reply.kind == Reply::Kind::EepromDump) {
            reply.bytes.resize(std::min(reply.bytes.size(), *faults.shortDump));
            memory.log("fault ShortDump: EEPROM dump cut after " +
                       std::to_string(reply.bytes.size()) + " bytes");
            faults.shortDump.reset();
        }
        if (faults.extraBytes) {
            const auto extra = GarbageOfLength(*faults.extraBytes);
            reply.bytes.insert(reply.bytes.end(), extra.begin(), extra.end());
            memory.log("fault ExtraBytes: " + std::to_string(extra.size()) +
                       " bytes of garbage after the reply");
            faults.extraBytes.reset();
        }
        if (faults.splitPiece) {
            split = {.left = wire.readableBy(at) + reply.bytes.size(), .piece = *faults.splitPiece};
            memory.log("fault SplitReply: reply read " + std::to_string(split.piece) +
                       " bytes at a time");
            faults.splitPiece.reset();
        }
        wire.sendToHost(at, pedalLine(), reply.bytes);
    }

    std::size_t write(const std::uint8_t* data, std::size_t count) {
        if (unplugged) return 0;
        const auto now = advance();
        std::size_t accepted = count;
        if (faults.unplugAfter) {
            accepted = std::min(count, *faults.unplugAfter);
            *faults.unplugAfter -= accepted;
        }
        if (accepted > 0) {
            wireLog.push_back({line, std::vector<std::uint8_t>(data, data + accepted)});
            wire.sendToPedal(now, line, data, accepted);
            advance();
        }
        if (faults.unplugAfter == std::size_t{0}) unplug();
        return accepted;
    }

    void unplug() {
        if (unplugged) return;
        unplugged = true;
        wire.clear();
        split = {};
        framer.discard();
        faults.unplugAfter.reset();
        memory.log("unplugged");
    }

    void replug(bool shiftHeld) {
        unplug();
        unplugged = false;
        ++generation;
        latencyTimer = PedalSimulator::kDefaultLatencyTimer;
        wire.setLatencyTimer(latencyTimer);
        bootloader.restart();
        memory.log(shiftHeld ? "plugged in with SHIFT held: bootloader" : "plugged in");
        if (!shiftHeld) return startFirmware(kFlashStart);
        memory.state.inBootloader = true;
        halted = false;
        lastMessageByteAt.reset();
        if (memory.state.storeBypassStatus == 0) memory.state.bypass = 0;
    }
};

PedalSimulator::PedalSimulator(PedalIdentity identity)
    : impl_(std::make_shared<Impl>(std::move(identity))) {}

const PedalIdentity& PedalSimulator::identity() const { return impl_->memory.identity; }
void PedalSimulator::setIdentity(const PedalIdentity& identity) {
    impl_->memory.identity = identity;
    impl_->installVersionRecord();
}

PedalState& PedalSimulator::state() {
    impl_->advance();
    return impl_->memory.state;
}

const PedalState& PedalSimulator::state() const {
    impl_->advance();
    return impl_->memory.state;
}

void PedalSimulator::setLineSettings(const LineSettings& line) {
    impl_->advance();
    impl_->line = line;
}

const LineSettings& PedalSimulator::lineSettings() const { return impl_->line; }
void PedalSimulator::setParityVisible(bool visible) { impl_->parityVisible = visible; }
bool PedalSimulator::parityVisible() const { return impl_->parityVisible; }

void PedalSimulator::hostWrite(const std::uint8_t* data, std::size_t count) {
    impl_->write(data, count);
}

std::size_t PedalSimulator::hostWritePartial(const std::uint8_t* data, std::size_t count) {
    return impl_->write(data, count);
}

std::size_t PedalSimulator::hostReadable() {
    if (impl_->unplugged) return 0;
    const std::size_t readable = impl_->wire.readableBy(impl_->advance());
    return impl_->split.left > 0 ? std::min(readable, impl_->split.piece) : readable;
}

std::size_t PedalSimulator::hostRead(std::uint8_t* out, std::size_t max) {
    if (impl_->unplugged) return 0;
    auto& split = impl_->split;
    if (split.left > 0) max = std::min(max, split.piece);
    const std::size_t n = impl_->wire.read(impl_->advance(), out, max);
    split.left -= std::min(split.left, n);
    return n;
}

void PedalSimulator::purgeToHost() {
    impl_->wire.dropReadable(impl_->advance());
    impl_->split = {};
}
void PedalSimulator::purgeFromHost() { impl_->wire.dropInFlightToPedal(impl_->advance()); }

std::size_t PedalSimulator::bytesInFlight() {
    if (impl_->unplugged) return 0;
    // A split reply's bytes still to come count too: they are on their way.
    return impl_->wire.inFlightBy(impl_->advance()) + impl_->split.left;
}

bool PedalSimulator::unplugged() const { return impl_->unplugged; }
void PedalSimulator::unplug() { impl_->unplug(); }
void PedalSimulator::replug(bool shiftHeld) { impl_->replug(shiftHeld); }
std::uint64_t PedalSimulator::plugGeneration() const { return impl_->generation; }

void PedalSimulator::setPacing(bool on, std::chrono::microseconds usbLatency) {
    impl_->advance();
    impl_->wire.setPacing(on, usbLatency);
}

bool PedalSimulator::setLatencyTimer(std::chrono::milliseconds timer) {
    if (timer.count() < 1 || timer > kMaxLatencyTimer) return false;
    impl_->advance();
    impl_->latencyTimer = timer;
    impl_->wire.setLatencyTimer(timer);
    return true;
}

std::chrono::milliseconds PedalSimulator::latencyTimer() const { return impl_->latencyTimer; }

void PedalSimulator::setClock(std::function<Clock::time_point()> now) {
    if (!now) now = [] { return Clock::now(); };
    impl_->clock = std::move(now);
}

void PedalSimulator::setFramingTimeout(std::chrono::milliseconds timeout) {
    impl_->framingTimeout = timeout;
}

void PedalSimulator::injectFault(Fault fault, std::size_t count) {
    auto& faults = impl_->faults;
    if (fault == Fault::None) impl_->bootloader.setFault(std::nullopt);
    switch (fault) {
        case Fault::None:
            faults = {};
            impl_->split = {};
            break;
        case Fault::Silence:
            faults.silence = true;
            break;
        case Fault::Garbage:
            faults.garbage = true;
            break;
        case Fault::ShortReply:
            faults.shortReply = count > 0 ? count : kDefaultShortReplyNumbers;
            break;
        case Fault::ShortDump:
            faults.shortDump = count;
            break;
        case Fault::UnplugAfterBytes:
            faults.unplugAfter = count;
            if (count == 0) impl_->unplug();
            break;
        case Fault::ExtraBytes:
            faults.extraBytes = count > 0 ? count : kDefaultExtraBytes;
            break;
        case Fault::SplitReply:
            faults.splitPiece = count > 0 ? count : 1;
            break;
    }
}

void PedalSimulator::injectBootloaderFault(const BootloaderFault& fault) {
    impl_->advance();
    impl_->bootloader.setFault(fault);
}

void PedalSimulator::overrideStatusNumbers(std::map<std::size_t, std::uint8_t> numbers) {
    impl_->faults.statusOverrides = std::move(numbers);
}

const std::vector<WireRecord>& PedalSimulator::wireLog() const { return impl_->wireLog; }

std::vector<std::uint8_t> PedalSimulator::hostBytes() const {
    std::vector<std::uint8_t> bytes;
    for (const auto& record : impl_->wireLog)
        bytes.insert(bytes.end(), record.bytes.begin(), record.bytes.end());
    return bytes;
}

void PedalSimulator::clearWireLog() { impl_->wireLog.clear(); }

const std::vector<std::string>& PedalSimulator::events() const { return impl_->memory.events; }
void PedalSimulator::clearEvents() { impl_->memory.events.clear(); }

std::vector<std::uint8_t> PedalSimulator::statusNumbers() const {
    impl_->advance();
    return impl_->statusNumbers();
}

const std::vector<std::uint8_t>& PedalSimulator::tuningData() const {
    impl_->advance();
    return impl_->memory.tuningData;
}

const std::vector<std::uint8_t>& PedalSimulator::installedAlgorithm() const {
    impl_->advance();
    return impl_->memory.installedAlgorithm;
}

std::vector<std::uint8_t> PedalSimulator::readFlash(std::uint32_t address,
                                                    std::size_t count) const {
    impl_->advance();
    auto bytes = impl_->memory.flash.read(address, count);
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> PedalSimulator::eeprom(std::uint8_t busAddress) const {
    impl_->advance();
    const auto* chip = impl_->memory.eeprom.chip(busAddress);
    return chip ? *chip : std::vector<std::uint8_t>{};
}

}  // namespace varkunda::sim
