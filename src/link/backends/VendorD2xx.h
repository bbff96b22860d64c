#pragma once

#include <QLibrary>
#include <memory>
#include <optional>
#include <string>

#include "link/D2xx.h"
#include "link/backends/Ftd2xxAbi.h"

namespace varkunda::link {

// The FTDI D2XX library itself, loaded at run time. Every call the editor needs is
// resolved from one table when the library is loaded; when the library or any one of
// the calls is missing, loading fails as a whole. FT_SetLatencyTimer only speeds short
// answers up: a library without it still loads, and the call is then not supported.
class VendorD2xx;

struct VendorLoad {
    std::unique_ptr<VendorD2xx> library;
    // LibraryNotLoaded with the loader's reason, or LibraryIncomplete naming the calls
    // the library lacks.
    std::optional<LinkError> error;
};

class VendorD2xx final : public D2xx {
  public:
    // Loads `libraryPath`, or when it is empty the library by its usual names
    // ("ftd2xx.dll" or "ftd2xx64.dll" on Windows, "libftd2xx.so" elsewhere).
    static VendorLoad Load(const std::string& libraryPath);

    FtStatus listDeviceCount(std::uint32_t& count) override;
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override;
    FtStatus listDescription(std::uint32_t index, std::string& description) override;
    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override;
    FtStatus close(FtHandle handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) override;
    FtStatus purge(FtHandle handle, std::uint32_t mask) override;
    FtStatus setLatencyTimer(FtHandle handle, std::uint8_t milliseconds) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) override;
    FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override;
    FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                   std::uint32_t& bytesWritten) override;

    std::string libraryFile() const;

  private:
    struct Calls {
        ftd2xx_abi::FT_ListDevices_t listDevices = nullptr;
        ftd2xx_abi::FT_OpenEx_t openEx = nullptr;
        ftd2xx_abi::FT_Close_t close = nullptr;
        ftd2xx_abi::FT_SetBaudRate_t setBaudRate = nullptr;
        ftd2xx_abi::FT_SetDataCharacteristics_t setDataCharacteristics = nullptr;
        ftd2xx_abi::FT_Purge_t purge = nullptr;
        ftd2xx_abi::FT_SetLatencyTimer_t setLatencyTimer = nullptr;  // optional
        ftd2xx_abi::FT_GetQueueStatus_t getQueueStatus = nullptr;
        ftd2xx_abi::FT_Read_t read = nullptr;
        ftd2xx_abi::FT_Write_t write = nullptr;
    };

    VendorD2xx(std::unique_ptr<QLibrary> library, Calls calls);
    FtStatus ListText(std::uint32_t index, std::uint32_t what, std::string& text);

    std::unique_ptr<QLibrary> library_;
    Calls calls_;
};

}  // namespace varkunda::link
