#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/DriverStatus.h"
#include "link/LinkError.h"

namespace varkunda::link {

// The calls of the FTDI D2XX driver that the editor uses, with the driver's own status
// codes and constants. One implementation per backend (simulated pedal, serial port,
// vendor library loaded at run time).
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
    // FT_SetLatencyTimer: how long the bridge holds back fewer than a packet of received
    // bytes. A backend without such a timer does not support it.
    virtual FtStatus setLatencyTimer(FtHandle /*handle*/, std::uint8_t /*milliseconds*/) {
        return ft::NOT_SUPPORTED;
    }
    virtual FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) = 0;
    // Never blocks in practice: callers ask only for bytes already queued.
    virtual FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                          std::uint32_t& bytesRead) = 0;
    virtual FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                           std::uint32_t& bytesWritten) = 0;

    // What the backend knows of its latest call beyond the status, asked right after a
    // call failed: the kind (a denied port, a device that went away), the device and the
    // system's own words. Nothing when the status says it all.
    virtual std::optional<LinkError> lastFailure() const { return std::nullopt; }
};

}  // namespace varkunda::link
