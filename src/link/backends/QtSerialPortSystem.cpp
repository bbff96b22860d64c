#include <QElapsedTimer>
#include <QSerialPort>
#include <QSerialPortInfo>

#include "link/backends/SerialPortIo.h"

#if defined(__linux__)
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace varkunda::link {
namespace {

constexpr quint16 kFtdiVendorId = 0x0403;

SerialPortEntry EntryOf(const QSerialPortInfo& info) {
    SerialPortEntry entry;
    entry.portName = info.systemLocation().toStdString();
    entry.serialNumber = info.serialNumber().toStdString();
    entry.description = info.description().toStdString();
    entry.ftdiBridge = info.hasVendorIdentifier() && info.vendorIdentifier() == kFtdiVendorId;
    return entry;
}

QSerialPort::Parity ParityOf(SerialParity parity) {
    switch (parity) {
        case SerialParity::Odd:
            return QSerialPort::OddParity;
        case SerialParity::Even:
            return QSerialPort::EvenParity;
        case SerialParity::Mark:
            return QSerialPort::MarkParity;
        case SerialParity::Space:
            return QSerialPort::SpaceParity;
        case SerialParity::None:
            break;
    }
    return QSerialPort::NoParity;
}

PortProblem ProblemOf(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
            return PortProblem::None;
        case QSerialPort::PermissionError:
            return PortProblem::PermissionDenied;
        case QSerialPort::DeviceNotFoundError:
            return PortProblem::NotFound;
        // The system took the device away under the open port (unplugged).
        case QSerialPort::ResourceError:
            return PortProblem::Gone;
        default:
            return PortProblem::Other;
    }
}

class QtSerialPortIo final : public SerialPortIo {
  public:
    bool open(const std::string& portName) override {
        port_.setPortName(QString::fromStdString(portName));
        return port_.open(QIODevice::ReadWrite);
    }

    void close() override { port_.close(); }

    bool configure(const SerialLineConfig& config) override {
        port_.clearError();
        const bool baudSet = port_.setBaudRate(static_cast<qint32>(config.baudRate));
        const bool bitsSet = port_.setDataBits(static_cast<QSerialPort::DataBits>(config.dataBits));
        const bool paritySet = port_.setParity(ParityOf(config.parity));
        const bool stopSet = port_.setStopBits(
            config.stopBits == SerialStopBits::Two ? QSerialPort::TwoStop : QSerialPort::OneStop);
        return baudSet && bitsSet && paritySet && stopSet;
    }

    bool clear(bool input, bool output) override {
        port_.clearError();
        QSerialPort::Directions directions;
        if (input) directions |= QSerialPort::Input;
        if (output) directions |= QSerialPort::Output;
        return port_.clear(directions);
    }

    std::optional<std::size_t> bytesAvailable(std::chrono::milliseconds wait) override {
        if (!port_.isOpen()) return std::nullopt;
        port_.clearError();
        // Lets the port take in what the system has received so far.
        port_.waitForReadyRead(static_cast<int>(wait.count()));
        if (Failed()) return std::nullopt;
        return static_cast<std::size_t>(port_.bytesAvailable());
    }

    std::int64_t read(std::uint8_t* out, std::size_t max) override {
        port_.clearError();
        const qint64 n = port_.read(reinterpret_cast<char*>(out), static_cast<qint64>(max));
        return Failed() ? -1 : n;
    }

    std::int64_t write(const std::uint8_t* data, std::size_t count,
                       std::chrono::milliseconds limit) override {
        port_.clearError();
        if (port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(count)) < 0)
            return -1;
        QElapsedTimer elapsed;
        elapsed.start();
        while (port_.bytesToWrite() > 0 && elapsed.elapsed() < limit.count()) {
            port_.waitForBytesWritten(static_cast<int>(limit.count() - elapsed.elapsed()));
            if (Failed()) return -1;
        }
        return static_cast<std::int64_t>(count) - port_.bytesToWrite();
    }

    PortError error() const override {
        return {ProblemOf(port_.error()), port_.errorString().toStdString()};
    }

    bool setLowLatency() override {
#if defined(__linux__)
        if (!port_.isOpen()) return false;
        serial_struct settings{};
        const int fd = static_cast<int>(port_.handle());
        if (ioctl(fd, TIOCGSERIAL, &settings) != 0) return false;
        settings.flags |= ASYNC_LOW_LATENCY;
        return ioctl(fd, TIOCSSERIAL, &settings) == 0;
#else
        return false;
#endif
    }

  private:
    // A wait that merely timed out is no failure. Every call starts from a clear error,
    // so a setting the port refused (a pseudo-terminal's parity) fails only itself.
    bool Failed() {
        const auto error = port_.error();
        if (error == QSerialPort::TimeoutError) port_.clearError();
        return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
    }

    QSerialPort port_;
};

class QtSerialPortSystem final : public SerialPortSystem {
  public:
    std::vector<SerialPortEntry> availablePorts() override {
        std::vector<SerialPortEntry> entries;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            entries.push_back(EntryOf(info));
        return entries;
    }

    SerialPortEntry describePort(const std::string& portName) override {
        const QString name = QString::fromStdString(portName);
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            if (info.portName() == name || info.systemLocation() == name) return EntryOf(info);
        SerialPortEntry entry;
        entry.portName = portName;
        return entry;
    }

    std::unique_ptr<SerialPortIo> createPort() override {
        return std::make_unique<QtSerialPortIo>();
    }
};

}  // namespace

std::unique_ptr<SerialPortSystem> CreateQtSerialPortSystem() {
    return std::make_unique<QtSerialPortSystem>();
}

}  // namespace varkunda::link
