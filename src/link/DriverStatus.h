#pragma once

#include <cstdint>

namespace varkunda::link {

// The FTDI D2XX driver's handle and status types and the constants the editor uses.
using FtHandle = std::uintptr_t;
using FtStatus = std::uint32_t;

namespace ft {
inline constexpr FtStatus OK = 0;
inline constexpr FtStatus INVALID_HANDLE = 1;
inline constexpr FtStatus DEVICE_NOT_FOUND = 2;
inline constexpr FtStatus DEVICE_NOT_OPENED = 3;
inline constexpr FtStatus IO_ERROR = 4;
inline constexpr FtStatus INSUFFICIENT_RESOURCES = 5;
inline constexpr FtStatus INVALID_PARAMETER = 6;
inline constexpr FtStatus INVALID_BAUD_RATE = 7;
inline constexpr FtStatus FAILED_TO_WRITE_DEVICE = 10;
inline constexpr FtStatus INVALID_ARGS = 16;
inline constexpr FtStatus NOT_SUPPORTED = 17;  // FT_NOT_SUPPORTED / "Other error"

inline constexpr std::uint32_t LIST_NUMBER_ONLY = 0x80000000;
inline constexpr std::uint32_t LIST_BY_INDEX = 0x40000000;
inline constexpr std::uint32_t OPEN_BY_SERIAL_NUMBER = 1;
inline constexpr std::uint32_t OPEN_BY_DESCRIPTION = 2;

inline constexpr std::uint8_t BITS_8 = 8;
inline constexpr std::uint8_t STOP_BITS_1 = 0;
inline constexpr std::uint8_t PARITY_NONE = 0;
inline constexpr std::uint8_t PARITY_EVEN = 2;

inline constexpr std::uint32_t PURGE_RX = 1;
inline constexpr std::uint32_t PURGE_TX = 2;
}  // namespace ft

}  // namespace varkunda::link
