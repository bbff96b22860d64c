#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varkunda::link {

// A serial port as seen by the system: where it is, the bridge's serial number and
// description, and whether it is an FTDI bridge.
struct SerialPortEntry {
    std::string portName;  // a name the port can be opened by ("ttyUSB0", "/dev/pts/4")
    std::string serialNumber;
    std::string description;
    bool ftdiBridge = false;
};

enum class SerialParity { None, Odd, Even, Mark, Space };
enum class SerialStopBits { One, Two };

struct SerialLineConfig {
    std::uint32_t baudRate = 115200;
    int dataBits = 8;
    SerialParity parity = SerialParity::None;
    SerialStopBits stopBits = SerialStopBits::One;
};

// What went wrong with a port, in the system's terms.
enum class PortProblem {
    None,
    PermissionDenied,  // the system refused the port (Linux: not in the dialout group)
    NotFound,          // no such port
    Gone,              // the device behind the open port went away
    Other,
};

struct PortError {
    PortProblem problem = PortProblem::None;
    std::string text;  // the system's own words
};

// The few things the serial-port backend needs of an open port. The QSerialPort
// implementation is the real one; tests script a fake to produce timeouts, partial
// reads and errors on demand.
class SerialPortIo {
  public:
    virtual ~SerialPortIo() = default;
    virtual bool open(const std::string& portName) = 0;
    virtual void close() = 0;
    virtual bool configure(const SerialLineConfig& config) = 0;
    virtual bool clear(bool input, bool output) = 0;
    // Bytes ready to read after waiting at most `wait` for more to arrive; nothing when
    // the port failed (unplugged).
    virtual std::optional<std::size_t> bytesAvailable(std::chrono::milliseconds wait) = 0;
    // Reads what is ready, at most `max` bytes; -1 on failure.
    virtual std::int64_t read(std::uint8_t* out, std::size_t max) = 0;
    // Writes all bytes, waiting at most `limit` for them to leave; the bytes that left,
    // or -1 on failure.
    virtual std::int64_t write(const std::uint8_t* data, std::size_t count,
                               std::chrono::milliseconds limit) = 0;
    // Why the latest call on the port failed.
    virtual PortError error() const = 0;
    // Asks the system to pass received bytes on at once (Linux: the port's low-latency
    // flag, which the FTDI driver turns into its shortest latency timer); false where
    // the port refuses (a pseudo-terminal) or the system has no such setting.
    virtual bool setLowLatency() { return false; }
};

// Where ports come from: the system's list and a way to make a port object.
class SerialPortSystem {
  public:
    virtual ~SerialPortSystem() = default;
    virtual std::vector<SerialPortEntry> availablePorts() = 0;
    // Describes one port by name, even one the system does not list (a pseudo-terminal).
    virtual SerialPortEntry describePort(const std::string& portName) = 0;
    virtual std::unique_ptr<SerialPortIo> createPort() = 0;
};

// QSerialPort and QSerialPortInfo.
std::unique_ptr<SerialPortSystem> CreateQtSerialPortSystem();

}  // namespace varkunda::link
