#pragma once

#include <cstdint>
#include <string>

namespace varkunda::link {

// The nine calls of the FTDI D2XX driver that the editor uses, with the driver's own
// status codes and constants. One implementation per backend (simulated pedal,
// serial port, vendor library loaded at run time).
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

class D2xx {
public:
    virtual ~D2xx() = default;

    // FT_ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY)
    virtual FtStatus listDeviceCount(std::uint32_t& count) = 0;
    // FT_ListDevices(index, buffer, FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER)
    virtual FtStatus listSerialNumber(std::uint32_t index, std::string& serial) = 0;
    // FT_ListDevices(index, buffer, FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION)
    virtual FtStatus listDescription(std::uint32_t index, std::string& description) = 0;
    // FT_OpenEx(serial, FT_OPEN_BY_SERIAL_NUMBER, &handle)
    virtual FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) = 0;
    virtual FtStatus close(FtHandle handle) = 0;
    virtual FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) = 0;
    virtual FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                            std::uint8_t stopBits, std::uint8_t parity) = 0;
    virtual FtStatus purge(FtHandle handle, std::uint32_t mask) = 0;
    virtual FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) = 0;
    // Never blocks in practice: callers ask only for bytes already queued.
    virtual FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                          std::uint32_t& bytesRead) = 0;
    virtual FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                           std::uint32_t& bytesWritten) = 0;
};

}  // namespace varkunda::link
