#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/D2xx.h"
#include "link/backends/SerialPortIo.h"

namespace varkunda::link {

// Waits of the serial-port backend. A read asked for more than is queued waits at most
// kSerialReadLimit; a write may take its wire time twice over plus kSerialWriteMargin.
inline constexpr std::chrono::milliseconds kSerialReadLimit{500};
inline constexpr std::chrono::milliseconds kSerialWriteMargin{1000};
// The description of a port named on the command line that has none of its own.
inline constexpr const char* kNamedPortDescription = "Varkunda TZ5";

// The pedal through the operating system's serial port of its FTDI bridge (a virtual
// COM port on Windows, /dev/ttyUSB* on Linux), or through a port named on the command
// line such as the software pedal's pseudo-terminal. Lists FTDI bridges by their
// serial numbers; the named port is listed last, its path serving as serial number.
class SerialPortD2xx final : public D2xx {
public:
    explicit SerialPortD2xx(std::unique_ptr<SerialPortSystem> system, std::string namedPort = {});

    FtStatus listDeviceCount(std::uint32_t& count) override;
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override;
    FtStatus listDescription(std::uint32_t index, std::string& description) override;
    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override;
    FtStatus close(FtHandle handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                    std::uint8_t stopBits, std::uint8_t parity) override;
    FtStatus purge(FtHandle handle, std::uint32_t mask) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) override;
    FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override;
    FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                   std::uint32_t& bytesWritten) override;

private:
    struct OpenPort {
        std::unique_ptr<SerialPortIo> io;
        SerialLineConfig line;
    };

    std::vector<SerialPortEntry> ListPorts();
    OpenPort* Find(FtHandle handle);

    std::unique_ptr<SerialPortSystem> system_;
    std::string namedPort_;
    std::vector<SerialPortEntry> listed_;  // as of the last count
    std::map<FtHandle, OpenPort> open_;
    FtHandle nextHandle_ = 1;
};

}  // namespace varkunda::link
