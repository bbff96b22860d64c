#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The pedal microcontroller's flash as its ROM bootloader and its start-up see it: an
// STM32F1 of medium density (product ID 0x410), 128 KB from 0x08000000 in 1 KB pages.
namespace varkunda::sim {

inline constexpr std::uint32_t kFlashStart = 0x08000000;
inline constexpr std::uint32_t kFlashSize = 128 * 1024;
inline constexpr std::uint32_t kFlashPageSize = 1024;
inline constexpr std::uint32_t kFlashPageCount = kFlashSize / kFlashPageSize;
inline constexpr std::uint8_t kErasedByte = 0xFF;
inline constexpr std::uint32_t kRamStart = 0x20000000;
inline constexpr std::uint32_t kRamSize = 20 * 1024;

// The firmware's version record: seven 0x00 bytes and the firmware number.
inline constexpr std::uint32_t kVersionRecordAddress = 0x0801FC00;
inline constexpr std::size_t kVersionRecordSize = 8;

// Flash timings of an STM32F1 (datasheet: page erase and mass erase 20 to 40 ms,
// half-word programming 40 to 70 us, 52.5 us typical), spent while pacing is on.
inline constexpr std::chrono::milliseconds kPageEraseTime{20};
inline constexpr std::chrono::milliseconds kMassEraseTime{40};
inline constexpr std::chrono::nanoseconds kHalfWordProgramTime{52'500};
constexpr std::chrono::nanoseconds ProgramTime(std::size_t bytes) {
    return kHalfWordProgramTime * static_cast<long>((bytes + 1) / 2);
}
inline constexpr std::chrono::nanoseconds k256ByteProgramTime = ProgramTime(256);  // 6.72 ms

class Flash {
  public:
    Flash() : bytes_(kFlashSize, kErasedByte) {}

    static bool Contains(std::uint32_t address, std::size_t count);
    // Nothing outside the flash.
    std::optional<std::vector<std::uint8_t>> read(std::uint32_t address, std::size_t count) const;
    // Programming can only clear bits: each byte becomes old AND new, as on the chip.
    void program(std::uint32_t address, std::span<const std::uint8_t> data);
    void erasePage(std::uint32_t page);
    void eraseAll();
    // Puts bytes in place whatever was there: the pedal as it leaves the factory.
    void install(std::uint32_t address, std::span<const std::uint8_t> data);

  private:
    std::vector<std::uint8_t> bytes_;
};

// The version record of a firmware number.
std::vector<std::uint8_t> VersionRecord(std::uint8_t firmware);

// The number of the firmware that starts from the vector table at `address`: the table
// must hold a stack pointer in RAM and a reset handler at a Thumb address in flash,
// and the version record seven zero bytes and a number. Nothing when either is blank
// or broken: the pedal does not start.
std::optional<std::uint8_t> StartableFirmware(const Flash& flash, std::uint32_t address);

}  // namespace varkunda::sim
