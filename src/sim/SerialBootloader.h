#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/BootloaderFault.h"
#include "sim/PedalMemory.h"

namespace varkunda::sim {

// What the bootloader does about one received byte.
struct BootloaderOutput {
    std::vector<std::uint8_t> answer;   // bytes to the host, if any
    std::chrono::nanoseconds busy{0};   // flash work done before the answer leaves
    std::optional<std::uint32_t> jump;  // Go: the code to start once answered
    bool powerLost = false;             // the pedal was unplugged (a fault)
};

// The microcontroller's ROM serial bootloader, the part of the USART bootloader protocol
// of application note AN3155 that an STM32F1 of 128 KB speaks: after the sync byte 0x7F
// it takes commands as an opcode and its complement, answers ACK 0x79 or NACK 0x1F, and
// knows Get, Get Version, Get ID, Read Memory, Write Memory (at most 256 bytes at a
// word-aligned address inside flash), Erase (global or a page list) and Go.
class SerialBootloader {
  public:
    static constexpr std::uint8_t kSync = 0x7F;
    static constexpr std::uint8_t kAck = 0x79;
    static constexpr std::uint8_t kNack = 0x1F;
    static constexpr std::uint8_t kVersion = 0x22;
    static constexpr std::uint8_t kProductIdHigh = 0x04;
    static constexpr std::uint8_t kProductIdLow = 0x10;
    static constexpr std::uint8_t kGlobalErase = 0xFF;

    BootloaderOutput receive(std::uint8_t byte, PedalMemory& memory);
    // Starts afresh, waiting for the sync byte.
    void restart();
    // One scripted fault, or none; the uses it counts start now.
    void setFault(std::optional<BootloaderFault> fault);

  private:
    enum class Phase { Sync, Command, Address, ReadLength, WriteData, EraseList };
    using Frame = std::vector<std::uint8_t>;

    std::size_t frameLength() const;
    BootloaderOutput sync(std::uint8_t byte, PedalMemory& memory);
    BootloaderOutput command(const Frame& frame, PedalMemory& memory);
    BootloaderOutput address(const Frame& frame, PedalMemory& memory);
    BootloaderOutput readLength(const Frame& frame, PedalMemory& memory);
    BootloaderOutput writeData(const Frame& frame, PedalMemory& memory);
    BootloaderOutput eraseList(const Frame& frame, PedalMemory& memory);

    BootloaderOutput acknowledge(std::vector<std::uint8_t> answer,
                                 std::optional<BootloaderFaultAction> fault);
    BootloaderOutput refuse(PedalMemory& memory, const std::string& why);
    void countUse(bool sync);
    std::optional<BootloaderFaultAction> faultAt(BootloaderStep step, PedalMemory& memory);
    static bool Drops(std::optional<BootloaderFaultAction> fault);
    BootloaderOutput dropCommand(BootloaderFaultAction fault);

    Phase phase_ = Phase::Sync;
    Frame frame_;
    BootloaderCommand command_ = BootloaderCommand::Get;
    std::uint32_t address_ = 0;
    std::optional<BootloaderFault> fault_;
    std::size_t usesSeen_ = 0;
    bool faultedUse_ = false;
};

}  // namespace varkunda::sim
