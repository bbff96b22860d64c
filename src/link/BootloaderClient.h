#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/Transport.h"

namespace varkunda::link {

// The microcontroller's ROM serial bootloader (USART protocol, AN3155).
namespace bootloader {
inline constexpr std::uint8_t kSync = 0x7F;
inline constexpr std::uint8_t kAck = 0x79;
inline constexpr std::uint8_t kNack = 0x1F;
inline constexpr std::uint8_t kReadMemory = 0x11;
inline constexpr std::uint8_t kGo = 0x21;
inline constexpr std::uint8_t kWriteMemory = 0x31;
inline constexpr std::uint8_t kEraseMemory = 0x43;
inline constexpr std::uint8_t kGlobalErase[] = {0xFF, 0x00};

inline constexpr std::uint32_t kFlashStart = 0x08000000;
inline constexpr std::uint32_t kVersionRecordAddress = 0x0801FC00;
inline constexpr std::size_t kChunkSize = 256;
inline constexpr std::size_t kMaxImageSize = 131072;
inline constexpr unsigned kOldestFirmware = 5;
inline constexpr unsigned kNewestFirmware = 13;

// An answer comes within this after a command, address or data frame; a global erase
// of the whole flash may take up to the second.
inline constexpr std::chrono::milliseconds kAckTimeout{1000};
inline constexpr std::chrono::milliseconds kGlobalEraseTimeout{40000};
}  // namespace bootloader

// The step of a bootloader exchange that failed.
enum class BootloaderStep {
    Sync,
    EraseCommand,
    GlobalErase,
    WriteCommand,
    WriteAddress,
    WriteData,
    ReadCommand,
    ReadAddress,
    ReadLength,
    ReadData,
    GoCommand,
    GoAddress,
};

enum class BootloaderFailure {
    NotAcknowledged,    // the bootloader answered NACK
    UnexpectedAnswer,   // a byte that is neither ACK nor NACK (`answer`)
    NoAnswer,           // nothing within the step's time limit
    LinkFailed,         // the message was not sent or the line could not be read (`link`)
    ReadBackDiffers,    // the chunk read back is not what was written (first at `offset`)
    BadImage,           // an image that is empty or larger than the flash
    BadFirmwareNumber,  // a version record for a number outside 5 to 13
};

struct BootloaderError {
    BootloaderFailure failure = BootloaderFailure::NoAnswer;
    BootloaderStep step = BootloaderStep::Sync;
    std::optional<std::size_t> chunk{};  // the image chunk concerned, when one is
    std::uint8_t answer = 0;
    std::size_t offset = 0;
    std::optional<LinkError> link{};
};

// Empty when the operation went through.
using BootloaderResult = std::optional<BootloaderError>;

// The editor's client of the pedal's ROM bootloader, on the link's one send path. Every
// answer is waited for with a time limit and checked; the first failure ends the
// operation and names its step and chunk. No window inside: progress goes to a callback.
class BootloaderClient {
  public:
    // Chunks written (or read back) so far, of all.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // `line` is the bootloader's even parity; NormalLine only for a port that cannot carry
    // parity (a pseudo-terminal), whose other end takes the bytes as they come.
    explicit BootloaderClient(Transport& transport, LineMode line = LineMode::BootloaderLine);

    // Switches the line to the bootloader's parity and sends the sync byte; the
    // bootloader's first answer must be ACK. Stray 0x00 bytes before it are skipped.
    BootloaderResult Connect();
    BootloaderResult EraseAll();
    // Writes the image from the start of flash in 256-byte chunks.
    BootloaderResult WriteImage(std::span<const std::uint8_t> image, const Progress& progress = {});
    // Reads every chunk back and compares it with the image.
    BootloaderResult VerifyImage(std::span<const std::uint8_t> image,
                                 const Progress& progress = {});
    // Seven 0x00 bytes and the firmware number at 0x0801FC00.
    BootloaderResult WriteVersionRecord(unsigned firmwareNumber);
    // Starts the firmware at the start of flash.
    BootloaderResult Go();

    static std::uint8_t AddressChecksum(std::uint32_t address);
    // 1 to 512 chunks of at most 256 bytes.
    static bool ImageFits(std::span<const std::uint8_t> image);

  private:
    BootloaderResult SendFrame(std::span<const std::uint8_t> bytes, BootloaderStep step,
                               std::optional<std::size_t> chunk);
    BootloaderResult ReadAck(BootloaderStep step, std::optional<std::size_t> chunk,
                             std::chrono::milliseconds limit);
    BootloaderResult Exchange(std::span<const std::uint8_t> bytes, BootloaderStep step,
                              std::optional<std::size_t> chunk,
                              std::chrono::milliseconds limit = bootloader::kAckTimeout);
    BootloaderResult SendAddress(std::uint32_t address, BootloaderStep step,
                                 std::optional<std::size_t> chunk);
    BootloaderResult WriteMemory(std::uint32_t address, std::span<const std::uint8_t> data,
                                 std::optional<std::size_t> chunk);
    BootloaderResult ReadMemory(std::uint32_t address, std::span<std::uint8_t> out,
                                std::size_t chunk);
    // The next byte from the bootloader; nullopt with `error` set when none came in time.
    std::optional<std::uint8_t> NextByte(std::chrono::milliseconds limit,
                                         std::optional<LinkError>& error);

    Transport& transport_;
    LineMode line_;
    std::deque<std::uint8_t> received_;  // bytes read from the driver, not yet used
};

}  // namespace varkunda::link
