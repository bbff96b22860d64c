#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
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
// Every list call asks the system afresh, so a pedal plugged in again on another port
// is found by its serial number there.
//
// A failed call leaves the port's own reason in lastFailure(): a denied port, a device
// that went away under its open port (DeviceLost), or the system's words for anything else.
class SerialPortD2xx final : public D2xx {
  public:
    explicit SerialPortD2xx(std::unique_ptr<SerialPortSystem> system, std::string namedPort = {});

    FtStatus listDeviceCount(std::uint32_t& count) override;
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override;
    FtStatus listDescription(std::uint32_t index, std::string& description) override;
    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override;
    FtStatus close(FtHandle handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) override;
    FtStatus purge(FtHandle handle, std::uint32_t mask) override;
    // The port's low-latency setting, whatever the time asked for; NOT_SUPPORTED where
    // the port refuses it.
    FtStatus setLatencyTimer(FtHandle handle, std::uint8_t milliseconds) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) override;
    FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override;
    FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                   std::uint32_t& bytesWritten) override;
    std::optional<LinkError> lastFailure() const override { return failure_; }

  private:
    struct OpenPort {
        std::unique_ptr<SerialPortIo> io;
        SerialLineConfig line;
        std::string portName;
    };

    std::vector<SerialPortEntry> ListPorts();
    // The port behind a handle, forgetting the reason of an earlier failure.
    OpenPort* Find(FtHandle handle);
    // Keeps why a call on an open port failed and gives the status for it.
    FtStatus PortFailed(const OpenPort& port, FtStatus status);

    std::unique_ptr<SerialPortSystem> system_;
    std::string namedPort_;
    std::map<FtHandle, OpenPort> open_;
    std::optional<LinkError> failure_;
    FtHandle nextHandle_ = 1;
};

}  // namespace varkunda::link
