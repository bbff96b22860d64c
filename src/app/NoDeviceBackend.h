#pragma once

#include "link/D2xx.h"

// A driver that lists no device: every open fails with "device not found" and every
// call on a handle with "invalid handle".
class NoDeviceBackend : public varkunda::link::D2xx {
public:
    using FtHandle = varkunda::link::FtHandle;
    using FtStatus = varkunda::link::FtStatus;

    FtStatus listDeviceCount(std::uint32_t& count) override;
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override;
    FtStatus listDescription(std::uint32_t index, std::string& description) override;
    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override;
    FtStatus close(FtHandle handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) override;
    FtStatus purge(FtHandle handle, std::uint32_t mask) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) override;
    FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override;
    FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                   std::uint32_t& bytesWritten) override;
};
