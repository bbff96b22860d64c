#include "link/backends/SerialPortD2xx.h"

#include <algorithm>
#include <limits>

namespace varkunda::link {
namespace {

// The open call compares at most this many characters, as the driver receives them.
constexpr std::size_t kOpenSerialLimit = 49;

std::optional<SerialParity> ParityOf(std::uint8_t code) {
    switch (code) {
        case 0:
            return SerialParity::None;
        case 1:
            return SerialParity::Odd;
        case 2:
            return SerialParity::Even;
        case 3:
            return SerialParity::Mark;
        case 4:
            return SerialParity::Space;
        default:
            return std::nullopt;
    }
}

std::optional<SerialStopBits> StopBitsOf(std::uint8_t code) {
    if (code == 0) return SerialStopBits::One;
    if (code == 2) return SerialStopBits::Two;
    return std::nullopt;
}

std::chrono::milliseconds WriteLimit(std::size_t count, std::uint32_t baudRate) {
    const std::uint64_t bits = static_cast<std::uint64_t>(count) * 11;  // start, 8, parity, stop
    const std::uint64_t wireMs = bits * 1000 / std::max<std::uint32_t>(baudRate, 1);
    return kSerialWriteMargin + std::chrono::milliseconds(2 * wireMs);
}

}  // namespace

SerialPortD2xx::SerialPortD2xx(std::unique_ptr<SerialPortSystem> system, std::string namedPort)
    : system_(std::move(system)), namedPort_(std::move(namedPort)) {}

std::vector<SerialPortEntry> SerialPortD2xx::ListPorts() {
    std::vector<SerialPortEntry> ports;
    for (SerialPortEntry& entry : system_->availablePorts()) {
        if (!entry.ftdiBridge || entry.portName == namedPort_) continue;
        if (entry.serialNumber.empty()) entry.serialNumber = entry.portName;
        ports.push_back(std::move(entry));
    }
    if (!namedPort_.empty()) {
        SerialPortEntry named = system_->describePort(namedPort_);
        named.portName = namedPort_;
        named.serialNumber = namedPort_;
        if (named.description.empty()) named.description = kNamedPortDescription;
        ports.push_back(std::move(named));
    }
    return ports;
}

SerialPortD2xx::OpenPort* SerialPortD2xx::Find(FtHandle handle) {
    failure_.reset();
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : &it->second;
}

FtStatus SerialPortD2xx::PortFailed(const OpenPort& port, FtStatus status) {
    const PortError error = port.io->error();
    const bool gone = error.problem == PortProblem::Gone || error.problem == PortProblem::NotFound;
    failure_ = LinkError{.kind = gone ? LinkErrorKind::DeviceLost : LinkErrorKind::DriverCall,
                         .driverStatus = status,
                         .device = port.portName,
                         .detail = error.text};
    return status;
}

FtStatus SerialPortD2xx::listDeviceCount(std::uint32_t& count) {
    failure_.reset();
    count = static_cast<std::uint32_t>(ListPorts().size());
    return ft::OK;
}

FtStatus SerialPortD2xx::listSerialNumber(std::uint32_t index, std::string& serial) {
    failure_.reset();
    const std::vector<SerialPortEntry> ports = ListPorts();
    if (index >= ports.size()) return ft::DEVICE_NOT_FOUND;
    serial = ports[index].serialNumber;
    return ft::OK;
}

FtStatus SerialPortD2xx::listDescription(std::uint32_t index, std::string& description) {
    failure_.reset();
    const std::vector<SerialPortEntry> ports = ListPorts();
    if (index >= ports.size()) return ft::DEVICE_NOT_FOUND;
    description = ports[index].description;
    return ft::OK;
}

FtStatus SerialPortD2xx::openBySerialNumber(const std::string& serial, FtHandle& handle) {
    failure_.reset();
    const std::vector<SerialPortEntry> ports = ListPorts();
    const auto entry = std::find_if(ports.begin(), ports.end(), [&](const SerialPortEntry& port) {
        return port.serialNumber.substr(0, kOpenSerialLimit) == serial.substr(0, kOpenSerialLimit);
    });
    if (serial.empty() || entry == ports.end()) return ft::DEVICE_NOT_FOUND;

    OpenPort port{system_->createPort(), SerialLineConfig{}, entry->portName};
    if (!port.io->open(entry->portName)) {
        const PortError error = port.io->error();
        failure_ = LinkError{.kind = error.problem == PortProblem::PermissionDenied
                                         ? LinkErrorKind::PermissionDenied
                                         : LinkErrorKind::DriverCall,
                             .driverStatus = ft::DEVICE_NOT_OPENED,
                             .device = entry->portName,
                             .detail = error.text};
        return ft::DEVICE_NOT_OPENED;
    }
    if (!port.io->configure(port.line)) {
        PortFailed(port, ft::IO_ERROR);
        failure_->kind = LinkErrorKind::DriverCall;  // not open yet: nothing was lost
        port.io->close();
        return ft::IO_ERROR;
    }
    handle = nextHandle_++;
    open_.emplace(handle, std::move(port));
    return ft::OK;
}

FtStatus SerialPortD2xx::close(FtHandle handle) {
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    port->io->close();
    open_.erase(handle);
    return ft::OK;
}

FtStatus SerialPortD2xx::setBaudRate(FtHandle handle, std::uint32_t baudRate) {
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    if (baudRate == 0) return ft::INVALID_BAUD_RATE;
    port->line.baudRate = baudRate;
    return port->io->configure(port->line) ? ft::OK : PortFailed(*port, ft::IO_ERROR);
}

FtStatus SerialPortD2xx::setDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                                std::uint8_t stopBits, std::uint8_t parity) {
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    const auto parityChoice = ParityOf(parity);
    const auto stopChoice = StopBitsOf(stopBits);
    if ((wordLength != 7 && wordLength != 8) || !parityChoice || !stopChoice)
        return ft::INVALID_PARAMETER;
    port->line.dataBits = wordLength;
    port->line.parity = *parityChoice;
    port->line.stopBits = *stopChoice;
    return port->io->configure(port->line) ? ft::OK : PortFailed(*port, ft::IO_ERROR);
}

FtStatus SerialPortD2xx::purge(FtHandle handle, std::uint32_t mask) {
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    const bool input = (mask & ft::PURGE_RX) != 0;
    const bool output = (mask & ft::PURGE_TX) != 0;
    if (!input && !output) return ft::INVALID_PARAMETER;
    return port->io->clear(input, output) ? ft::OK : PortFailed(*port, ft::IO_ERROR);
}

FtStatus SerialPortD2xx::setLatencyTimer(FtHandle handle, std::uint8_t /*milliseconds*/) {
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    return port->io->setLowLatency() ? ft::OK : ft::NOT_SUPPORTED;
}

FtStatus SerialPortD2xx::getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) {
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    const auto available = port->io->bytesAvailable(std::chrono::milliseconds(0));
    if (!available) return PortFailed(*port, ft::IO_ERROR);
    rxBytes = static_cast<std::uint32_t>(
        std::min<std::size_t>(*available, std::numeric_limits<std::uint32_t>::max()));
    return ft::OK;
}

FtStatus SerialPortD2xx::read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                              std::uint32_t& bytesRead) {
    bytesRead = 0;
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    const auto start = std::chrono::steady_clock::now();
    while (bytesRead < toRead) {
        const std::int64_t n = port->io->read(buffer + bytesRead, toRead - bytesRead);
        if (n < 0) {
            bytesRead = 0;
            return PortFailed(*port, ft::IO_ERROR);
        }
        bytesRead += static_cast<std::uint32_t>(n);
        if (bytesRead == toRead) break;
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (waited >= kSerialReadLimit) break;  // like a driver read timeout: what came
        const auto more = port->io->bytesAvailable(kSerialReadLimit - waited);
        if (!more) {
            bytesRead = 0;
            return PortFailed(*port, ft::IO_ERROR);
        }
        if (*more == 0) break;  // nothing more came within the limit
    }
    return ft::OK;
}

FtStatus SerialPortD2xx::write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                               std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    OpenPort* port = Find(handle);
    if (!port) return ft::INVALID_HANDLE;
    const std::int64_t n =
        port->io->write(buffer, toWrite, WriteLimit(toWrite, port->line.baudRate));
    if (n < 0) return PortFailed(*port, ft::IO_ERROR);
    bytesWritten = static_cast<std::uint32_t>(n);
    return bytesWritten == toWrite ? ft::OK : PortFailed(*port, ft::IO_ERROR);
}

}  // namespace varkunda::link
