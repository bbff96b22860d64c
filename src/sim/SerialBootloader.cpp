#include "sim/SerialBootloader.h"

#include <algorithm>
#include <span>

#include "protocol/HexText.h"

namespace varkunda::sim {
namespace {

using protocol::HexByte;
using protocol::HexWord32;

// The commands this bootloader knows, in the order Get lists them.
constexpr std::uint8_t kCommands[] = {
    static_cast<std::uint8_t>(BootloaderCommand::Get),
    static_cast<std::uint8_t>(BootloaderCommand::GetVersion),
    static_cast<std::uint8_t>(BootloaderCommand::GetId),
    static_cast<std::uint8_t>(BootloaderCommand::ReadMemory),
    static_cast<std::uint8_t>(BootloaderCommand::Go),
    static_cast<std::uint8_t>(BootloaderCommand::WriteMemory),
    static_cast<std::uint8_t>(BootloaderCommand::Erase),
};

bool Known(std::uint8_t code) {
    return std::find(std::begin(kCommands), std::end(kCommands), code) != std::end(kCommands);
}

std::string CommandName(BootloaderCommand command) {
    switch (command) {
        case BootloaderCommand::Get:
            return "Get";
        case BootloaderCommand::GetVersion:
            return "Get Version";
        case BootloaderCommand::GetId:
            return "Get ID";
        case BootloaderCommand::ReadMemory:
            return "Read Memory";
        case BootloaderCommand::Go:
            return "Go";
        case BootloaderCommand::WriteMemory:
            return "Write Memory";
        case BootloaderCommand::Erase:
            return "Erase";
    }
    return "?";
}

std::string StepName(BootloaderStep step) {
    switch (step) {
        case BootloaderStep::Sync:
            return "sync";
        case BootloaderStep::Command:
            return "command";
        case BootloaderStep::Address:
            return "address";
        case BootloaderStep::Data:
            return "data";
    }
    return "?";
}

std::string ActionName(BootloaderFaultAction action) {
    switch (action) {
        case BootloaderFaultAction::Nack:
            return "Nack";
        case BootloaderFaultAction::Silence:
            return "Silence";
        case BootloaderFaultAction::Unplug:
            return "Unplug";
        case BootloaderFaultAction::WrongData:
            return "WrongData";
        case BootloaderFaultAction::StrayZero:
            return "StrayZero";
    }
    return "?";
}

std::uint8_t Xor(std::span<const std::uint8_t> bytes) {
    std::uint8_t result = 0;
    for (std::uint8_t byte : bytes) result ^= byte;
    return result;
}

bool InRam(std::uint32_t address) { return address >= kRamStart && address - kRamStart < kRamSize; }

}  // namespace

void SerialBootloader::restart() {
    phase_ = Phase::Sync;
    frame_.clear();
}

void SerialBootloader::setFault(std::optional<BootloaderFault> fault) {
    fault_ = fault;
    usesSeen_ = 0;
    faultedUse_ = false;
}

BootloaderOutput SerialBootloader::receive(std::uint8_t byte, PedalMemory& memory) {
    if (phase_ == Phase::Sync) return sync(byte, memory);
    frame_.push_back(byte);
    if (frame_.size() < frameLength()) return {};
    const Frame frame = std::move(frame_);
    frame_.clear();
    switch (phase_) {
        case Phase::Command:
            return command(frame, memory);
        case Phase::Address:
            return address(frame, memory);
        case Phase::ReadLength:
            return readLength(frame, memory);
        case Phase::WriteData:
            return writeData(frame, memory);
        case Phase::EraseList:
            return eraseList(frame, memory);
        case Phase::Sync:
            break;
    }
    return {};
}

// Bytes still to come are known from the first byte of a data frame: N + 1 bytes and a
// checksum follow it, or one checksum after the global erase code.
std::size_t SerialBootloader::frameLength() const {
    switch (phase_) {
        case Phase::Command:
            return 2;
        case Phase::Address:
            return 5;
        case Phase::ReadLength:
            return 2;
        case Phase::WriteData:
            return frame_.empty() ? 1 : frame_[0] + 3u;
        case Phase::EraseList:
            if (frame_.empty()) return 1;
            return frame_[0] == kGlobalErase ? 2 : frame_[0] + 3u;
        case Phase::Sync:
            break;
    }
    return 1;
}

BootloaderOutput SerialBootloader::sync(std::uint8_t byte, PedalMemory& memory) {
    if (byte != kSync) {
        memory.logIgnored(std::span(&byte, 1), "bootloader: byte ",
                          " before the sync byte ignored");
        return {};
    }
    countUse(true);
    const auto fault = faultAt(BootloaderStep::Sync, memory);
    if (Drops(fault)) return dropCommand(*fault);  // still waiting for a sync byte
    phase_ = Phase::Command;
    memory.log("bootloader: sync 7F answered 79");
    return acknowledge({kAck}, fault);
}

BootloaderOutput SerialBootloader::command(const Frame& frame, PedalMemory& memory) {
    if (static_cast<std::uint8_t>(frame[0] ^ frame[1]) != 0xFF)
        return refuse(memory,
                      "command " + HexByte(frame[0]) + " with complement " + HexByte(frame[1]));
    if (!Known(frame[0])) return refuse(memory, "unknown command " + HexByte(frame[0]));
    command_ = static_cast<BootloaderCommand>(frame[0]);
    countUse(false);
    const auto fault = faultAt(BootloaderStep::Command, memory);
    if (Drops(fault)) return dropCommand(*fault);
    memory.log("bootloader: " + CommandName(command_));
    switch (command_) {
        case BootloaderCommand::Get: {
            std::vector<std::uint8_t> answer{kAck, std::size(kCommands), kVersion};
            answer.insert(answer.end(), std::begin(kCommands), std::end(kCommands));
            answer.push_back(kAck);
            return acknowledge(answer, fault);
        }
        case BootloaderCommand::GetVersion:
            return acknowledge({kAck, kVersion, 0x00, 0x00, kAck}, fault);
        case BootloaderCommand::GetId:
            return acknowledge({kAck, 0x01, kProductIdHigh, kProductIdLow, kAck}, fault);
        case BootloaderCommand::Erase:
            phase_ = Phase::EraseList;
            break;
        default:
            phase_ = Phase::Address;
            break;
    }
    return acknowledge({kAck}, fault);
}

BootloaderOutput SerialBootloader::address(const Frame& frame, PedalMemory& memory) {
    const auto fault = faultAt(BootloaderStep::Address, memory);
    if (Drops(fault)) return dropCommand(*fault);
    const std::uint8_t checksum = Xor(std::span(frame.data(), 4));
    if (checksum != frame[4])
        return refuse(memory,
                      "address checksum " + HexByte(frame[4]) + ", expected " + HexByte(checksum));
    address_ = std::uint32_t{frame[0]} << 24 | std::uint32_t{frame[1]} << 16 |
               std::uint32_t{frame[2]} << 8 | frame[3];
    const std::string where = CommandName(command_) + " at " + HexWord32(address_);
    const bool inFlash = Flash::Contains(address_, 1);
    switch (command_) {
        case BootloaderCommand::ReadMemory:
            if (!inFlash) return refuse(memory, where + ": outside flash");
            phase_ = Phase::ReadLength;
            break;
        case BootloaderCommand::WriteMemory:
            if (!inFlash) return refuse(memory, where + ": outside flash");
            if (address_ % 4 != 0) return refuse(memory, where + ": not word-aligned");
            phase_ = Phase::WriteData;
            break;
        default: {  // Go
            if (!inFlash && !InRam(address_)) return refuse(memory, where + ": no memory there");
            memory.log("bootloader: " + where);
            phase_ = Phase::Command;
            auto output = acknowledge({kAck}, fault);
            output.jump = address_;
            return output;
        }
    }
    return acknowledge({kAck}, fault);
}

BootloaderOutput SerialBootloader::readLength(const Frame& frame, PedalMemory& memory) {
    const auto fault = faultAt(BootloaderStep::Data, memory);
    if (Drops(fault)) return dropCommand(*fault);
    if (static_cast<std::uint8_t>(frame[0] ^ frame[1]) != 0xFF)
        return refuse(memory,
                      "read length " + HexByte(frame[0]) + " with complement " + HexByte(frame[1]));
    const std::size_t count = frame[0] + 1u;
    auto data = memory.flash.read(address_, count);
    if (!data)
        return refuse(memory, "read of " + std::to_string(count) + " bytes at " +
                                  HexWord32(address_) + ": beyond the end of flash");
    if (fault == BootloaderFaultAction::WrongData) data->front() ^= 0xFF;
    memory.log("bootloader: read " + std::to_string(count) + " bytes at " + HexWord32(address_));
    phase_ = Phase::Command;
    data->insert(data->begin(), kAck);
    return acknowledge(std::move(*data), fault);
}

BootloaderOutput SerialBootloader::writeData(const Frame& frame, PedalMemory& memory) {
    const std::size_t count = frame[0] + 1u;
    std::vector<std::uint8_t> data(frame.begin() + 1, frame.end() - 1);
    const auto fault = faultAt(BootloaderStep::Data, memory);
    if (fault == BootloaderFaultAction::Unplug)
        memory.flash.program(address_, std::span(data.data(), count / 2));
    if (Drops(fault)) return dropCommand(*fault);
    const std::uint8_t checksum = Xor(std::span(frame.data(), count + 1));
    if (checksum != frame.back())
        return refuse(memory,
                      "data checksum " + HexByte(frame.back()) + ", expected " + HexByte(checksum));
    if (!Flash::Contains(address_, count))
        return refuse(memory, "write of " + std::to_string(count) + " bytes at " +
                                  HexWord32(address_) + ": beyond the end of flash");
    if (fault == BootloaderFaultAction::WrongData) data.front() ^= 0xFF;
    memory.flash.program(address_, data);
    memory.log("bootloader: wrote " + std::to_string(count) + " bytes at " + HexWord32(address_));
    phase_ = Phase::Command;
    auto output = acknowledge({kAck}, fault);
    output.busy = ProgramTime(count);
    return output;
}

BootloaderOutput SerialBootloader::eraseList(const Frame& frame, PedalMemory& memory) {
    const auto fault = faultAt(BootloaderStep::Data, memory);
    if (Drops(fault)) return dropCommand(*fault);
    if (frame[0] == kGlobalErase) {
        if (frame[1] != 0x00)
            return refuse(memory, "global erase with checksum " + HexByte(frame[1]));
        memory.flash.eraseAll();
        memory.log("bootloader: global erase");
        phase_ = Phase::Command;
        auto output = acknowledge({kAck}, fault);
        output.busy = kMassEraseTime;
        return output;
    }
    const std::span pages(frame.data() + 1, frame.size() - 2);
    const std::uint8_t checksum = Xor(std::span(frame.data(), frame.size() - 1));
    if (checksum != frame.back())
        return refuse(memory, "erase list checksum " + HexByte(frame.back()) + ", expected " +
                                  HexByte(checksum));
    for (std::uint8_t page : pages)
        if (page >= kFlashPageCount) return refuse(memory, "no page " + std::to_string(page));
    for (std::uint8_t page : pages) memory.flash.erasePage(page);
    memory.log("bootloader: erased " + std::to_string(pages.size()) + " pages from page " +
               std::to_string(pages.front()));
    phase_ = Phase::Command;
    auto output = acknowledge({kAck}, fault);
    output.busy = kPageEraseTime * static_cast<long>(pages.size());
    return output;
}

BootloaderOutput SerialBootloader::acknowledge(std::vector<std::uint8_t> answer,
                                               std::optional<BootloaderFaultAction> fault) {
    if (fault == BootloaderFaultAction::StrayZero) answer.insert(answer.begin(), 0x00);
    BootloaderOutput output;
    output.answer = std::move(answer);
    return output;
}

BootloaderOutput SerialBootloader::refuse(PedalMemory& memory, const std::string& why) {
    memory.log("bootloader: NACK, " + why);
    phase_ = Phase::Command;
    BootloaderOutput output;
    output.answer = {kNack};
    return output;
}

void SerialBootloader::countUse(bool sync) {
    faultedUse_ = false;
    if (!fault_) return;
    const bool counted = sync ? fault_->step == BootloaderStep::Sync
                              : fault_->step != BootloaderStep::Sync && fault_->command == command_;
    if (counted) faultedUse_ = usesSeen_++ == fault_->occurrence;
}

std::optional<BootloaderFaultAction> SerialBootloader::faultAt(BootloaderStep step,
                                                               PedalMemory& memory) {
    if (!fault_ || !faultedUse_ || fault_->step != step) return std::nullopt;
    const BootloaderFault fired = *fault_;
    fault_.reset();
    faultedUse_ = false;
    memory.log("bootloader: fault " + ActionName(fired.action) + " at the " + StepName(step) +
               " step" +
               (step == BootloaderStep::Sync ? std::string() : " of " + CommandName(command_)));
    return fired.action;
}

bool SerialBootloader::Drops(std::optional<BootloaderFaultAction> fault) {
    return fault == BootloaderFaultAction::Nack || fault == BootloaderFaultAction::Silence ||
           fault == BootloaderFaultAction::Unplug;
}

// The command is given up; the bootloader waits for the next one (or, at the sync
// step, for another sync byte).
BootloaderOutput SerialBootloader::dropCommand(BootloaderFaultAction fault) {
    if (phase_ != Phase::Sync) phase_ = Phase::Command;
    BootloaderOutput output;
    if (fault == BootloaderFaultAction::Nack) output.answer = {kNack};
    output.powerLost = fault == BootloaderFaultAction::Unplug;
    return output;
}

}  // namespace varkunda::sim
