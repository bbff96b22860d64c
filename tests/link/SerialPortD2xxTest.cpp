#include <gtest/gtest.h>

#include <deque>

#include "link/backends/SerialPortD2xx.h"

using namespace varkunda::link;
using namespace std::chrono_literals;

namespace {

// What the scripted port does and what it saw; shared with the test after the backend
// took ownership of the port object.
struct PortScript {
    std::string openedName;
    PortProblem failOpen = PortProblem::None;  // why the open fails, if it does
    bool unplugged = false;  // every query fails, the port's error says it is gone
    bool failConfigure = false;
    std::vector<std::uint8_t> ready;                 // readable now
    std::deque<std::vector<std::uint8_t>> arrivals;  // one arrives per wait for more
    std::int64_t writeAccepts = -2;                  // -2: all, -1: failure, n: n bytes
    std::vector<std::uint8_t> written;
    std::vector<std::chrono::milliseconds> writeLimits;
    std::vector<SerialLineConfig> configs;
    std::vector<std::pair<bool, bool>> clears;
    bool closed = false;
    bool lowLatencyRefused = false;  // as a pseudo-terminal refuses it
    bool lowLatencyAsked = false;
};

class ScriptedPort final : public SerialPortIo {
  public:
    explicit ScriptedPort(std::shared_ptr<PortScript> script) : s_(std::move(script)) {}

    bool open(const std::string& portName) override {
        s_->openedName = portName;
        if (s_->failOpen == PortProblem::PermissionDenied)
            error_ = {s_->failOpen, "Permission denied"};
        if (s_->failOpen == PortProblem::NotFound)
            error_ = {s_->failOpen, "No such file or directory"};
        return s_->failOpen == PortProblem::None;
    }
    void close() override { s_->closed = true; }
    bool configure(const SerialLineConfig& config) override {
        s_->configs.push_back(config);
        if (s_->failConfigure) error_ = {PortProblem::Other, "Unsupported operation"};
        return !s_->failConfigure;
    }
    bool clear(bool input, bool output) override {
        s_->clears.emplace_back(input, output);
        if (input) s_->ready.clear();
        return true;
    }
    std::optional<std::size_t> bytesAvailable(std::chrono::milliseconds wait) override {
        if (s_->unplugged) {
            Gone();
            return std::nullopt;
        }
        if (wait > 0ms && !s_->arrivals.empty()) {
            s_->ready.insert(s_->ready.end(), s_->arrivals.front().begin(),
                             s_->arrivals.front().end());
            s_->arrivals.pop_front();
        }
        return s_->ready.size();
    }
    std::int64_t read(std::uint8_t* out, std::size_t max) override {
        if (s_->unplugged) {
            Gone();
            return -1;
        }
        const std::size_t n = std::min(max, s_->ready.size());
        std::copy_n(s_->ready.begin(), n, out);
        s_->ready.erase(s_->ready.begin(), s_->ready.begin() + static_cast<std::ptrdiff_t>(n));
        return static_cast<std::int64_t>(n);
    }
    std::int64_t write(const std::uint8_t* data, std::size_t count,
                       std::chrono::milliseconds limit) override {
        s_->writeLimits.push_back(limit);
        if (s_->writeAccepts == -1) return -1;
        const std::size_t accepted =
            s_->writeAccepts == -2 ? count : std::min<std::size_t>(count, s_->writeAccepts);
        s_->written.insert(s_->written.end(), data, data + accepted);
        return static_cast<std::int64_t>(accepted);
    }
    PortError error() const override { return error_; }
    bool setLowLatency() override {
        s_->lowLatencyAsked = true;
        return !s_->lowLatencyRefused;
    }

  private:
    void Gone() { error_ = {PortProblem::Gone, "Input/output error"}; }

    std::shared_ptr<PortScript> s_;
    PortError error_;
};

class ScriptedSystem final : public SerialPortSystem {
  public:
    std::vector<SerialPortEntry> ports;
    std::vector<SerialPortEntry> unlisted;  // describable by name only
    std::shared_ptr<PortScript> script = std::make_shared<PortScript>();

    std::vector<SerialPortEntry> availablePorts() override { return ports; }
    SerialPortEntry describePort(const std::string& portName) override {
        for (const auto& entry : ports)
            if (entry.portName == portName) return entry;
        for (const auto& entry : unlisted)
            if (entry.portName == portName) return entry;
        return SerialPortEntry{portName, "", "", false};
    }
    std::unique_ptr<SerialPortIo> createPort() override {
        return std::make_unique<ScriptedPort>(script);
    }
};

class SerialPortD2xxTest : public ::testing::Test {
  protected:
    SerialPortD2xxTest() {
        auto owned = std::make_unique<ScriptedSystem>();
        system = owned.get();
        system->ports = {{"/dev/ttyS0", "", "Built-in port", false},
                         {"/dev/ttyUSB0", "VK0001", "Varkunda TZ5", true},
                         {"/dev/ttyUSB1", "", "FT232R USB UART", true}};
        system->unlisted = {{"/dev/pts/7", "", "", false}};
        script = system->script;
        backend = std::make_unique<SerialPortD2xx>(std::move(owned), "/dev/pts/7");
    }

    std::vector<std::pair<std::string, std::string>> Listed() {
        std::uint32_t count = 0;
        EXPECT_EQ(backend->listDeviceCount(count), ft::OK);
        std::vector<std::pair<std::string, std::string>> listed;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string serial, description;
            EXPECT_EQ(backend->listSerialNumber(i, serial), ft::OK);
            EXPECT_EQ(backend->listDescription(i, description), ft::OK);
            listed.emplace_back(serial, description);
        }
        return listed;
    }

    FtHandle Open(const std::string& serial = "VK0001") {
        FtHandle handle = 0;
        EXPECT_EQ(backend->openBySerialNumber(serial, handle), ft::OK);
        return handle;
    }

    ScriptedSystem* system = nullptr;
    std::shared_ptr<PortScript> script;
    std::unique_ptr<SerialPortD2xx> backend;
};

TEST_F(SerialPortD2xxTest, ListsFtdiBridgesAndTheNamedPortLast) {
    using Listing = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Listed(), (Listing{{"VK0001", "Varkunda TZ5"},
                                 {"/dev/ttyUSB1", "FT232R USB UART"},
                                 {"/dev/pts/7", "Varkunda TZ5"}}));
    std::string serial;
    EXPECT_EQ(backend->listSerialNumber(3, serial), ft::DEVICE_NOT_FOUND);

    // A named port the system knows keeps its own description and is listed once.
    system->unlisted.clear();
    system->ports[1].portName = "/dev/pts/7";
    EXPECT_EQ(Listed(),
              (Listing{{"/dev/ttyUSB1", "FT232R USB UART"}, {"/dev/pts/7", "Varkunda TZ5"}}));
    system->ports[1].description = "USB Serial";
    EXPECT_EQ(Listed().back(), (std::pair<std::string, std::string>{"/dev/pts/7", "USB Serial"}));
}

TEST_F(SerialPortD2xxTest, OpensByTheSerialNumberWithThePedalsLineSettings) {
    const FtHandle handle = Open("VK0001");
    EXPECT_EQ(script->openedName, "/dev/ttyUSB0");
    EXPECT_NE(handle, 0u);

    EXPECT_EQ(backend->setBaudRate(handle, 115200), ft::OK);
    EXPECT_EQ(backend->setDataCharacteristics(handle, 8, 0, 2), ft::OK);
    const SerialLineConfig& line = script->configs.back();
    EXPECT_EQ(line.baudRate, 115200u);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_EQ(line.parity, SerialParity::Even);
    EXPECT_EQ(line.stopBits, SerialStopBits::One);
    EXPECT_EQ(backend->setDataCharacteristics(handle, 8, 0, 0), ft::OK);
    EXPECT_EQ(script->configs.back().parity, SerialParity::None);

    EXPECT_EQ(backend->setDataCharacteristics(handle, 9, 0, 0), ft::INVALID_PARAMETER);
    EXPECT_EQ(backend->setDataCharacteristics(handle, 8, 1, 0), ft::INVALID_PARAMETER);
    EXPECT_EQ(backend->setDataCharacteristics(handle, 8, 0, 5), ft::INVALID_PARAMETER);
    EXPECT_EQ(backend->setBaudRate(handle, 0), ft::INVALID_BAUD_RATE);
}

TEST_F(SerialPortD2xxTest, TheLatencyTimerIsThePortsLowLatencyFlag) {
    const FtHandle handle = Open();
    EXPECT_EQ(backend->setLatencyTimer(handle, 2), ft::OK);
    EXPECT_TRUE(script->lowLatencyAsked);
    script->lowLatencyRefused = true;
    EXPECT_EQ(backend->setLatencyTimer(handle, 2), ft::NOT_SUPPORTED);
    EXPECT_EQ(backend->close(handle), ft::OK);
    EXPECT_EQ(backend->setLatencyTimer(handle, 2), ft::INVALID_HANDLE);
}

TEST_F(SerialPortD2xxTest, OpenFailuresAndStaleHandlesGiveTheDriversStatuses) {
    FtHandle handle = 0;
    EXPECT_EQ(backend->openBySerialNumber("VK9999", handle), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(backend->openBySerialNumber("", handle), ft::DEVICE_NOT_FOUND);
    script->failOpen = PortProblem::NotFound;
    EXPECT_EQ(backend->openBySerialNumber("VK0001", handle), ft::DEVICE_NOT_OPENED);
    script->failOpen = PortProblem::None;

    handle = Open("/dev/pts/7");
    EXPECT_EQ(script->openedName, "/dev/pts/7");
    EXPECT_EQ(backend->close(handle), ft::OK);
    EXPECT_TRUE(script->closed);
    std::uint32_t queued = 0;
    EXPECT_EQ(backend->close(handle), ft::INVALID_HANDLE);
    EXPECT_EQ(backend->getQueueStatus(handle, queued), ft::INVALID_HANDLE);
    std::uint32_t written = 7;
    const std::uint8_t bytes[] = {0x0D, 0x01};
    EXPECT_EQ(backend->write(handle, bytes, 2, written), ft::INVALID_HANDLE);
    EXPECT_EQ(written, 0u);
}

TEST_F(SerialPortD2xxTest, PurgesClearTheRequestedDirection) {
    const FtHandle handle = Open();
    script->ready = {1, 2, 3};
    EXPECT_EQ(backend->purge(handle, ft::PURGE_TX), ft::OK);
    EXPECT_EQ(script->ready.size(), 3u);
    EXPECT_EQ(backend->purge(handle, ft::PURGE_RX), ft::OK);
    EXPECT_TRUE(script->ready.empty());
    EXPECT_EQ(script->clears, (std::vector<std::pair<bool, bool>>{{false, true}, {true, false}}));
}

TEST_F(SerialPortD2xxTest, ReadsWhatIsQueuedAndWaitsBoundedlyForMore) {
    const FtHandle handle = Open();
    script->ready = {'1', '2'};
    std::uint32_t queued = 0;
    ASSERT_EQ(backend->getQueueStatus(handle, queued), ft::OK);
    EXPECT_EQ(queued, 2u);

    // Asked for more than is queued, the read takes what comes later as well...
    script->arrivals = {{'\r'}, {'\n'}};
    std::uint8_t buffer[8] = {};
    std::uint32_t bytesRead = 0;
    EXPECT_EQ(backend->read(handle, buffer, 4, bytesRead), ft::OK);
    EXPECT_EQ(bytesRead, 4u);
    EXPECT_EQ(std::string(buffer, buffer + 4), "12\r\n");

    // ...and ends with what it has when nothing more comes.
    script->ready = {'7'};
    EXPECT_EQ(backend->read(handle, buffer, 8, bytesRead), ft::OK);
    EXPECT_EQ(bytesRead, 1u);
}

TEST_F(SerialPortD2xxTest, AnUnpluggedPortFailsTheQueryAndTheReadAsLost) {
    const FtHandle handle = Open();
    script->unplugged = true;
    std::uint32_t queued = 0;
    EXPECT_EQ(backend->getQueueStatus(handle, queued), ft::IO_ERROR);
    ASSERT_TRUE(backend->lastFailure());
    EXPECT_EQ(backend->lastFailure()->kind, LinkErrorKind::DeviceLost);
    EXPECT_EQ(backend->lastFailure()->device, "/dev/ttyUSB0");
    EXPECT_EQ(backend->lastFailure()->detail, "Input/output error");
    std::uint8_t buffer[4];
    std::uint32_t bytesRead = 9;
    EXPECT_EQ(backend->read(handle, buffer, 4, bytesRead), ft::IO_ERROR);
    EXPECT_EQ(bytesRead, 0u);
    EXPECT_EQ(backend->lastFailure()->kind, LinkErrorKind::DeviceLost);
    // Unlinking still lets go of the port.
    EXPECT_EQ(backend->close(handle), ft::OK);
    EXPECT_FALSE(backend->lastFailure());
}

// The system's reason stays with the failure; a denied port is told apart.
TEST_F(SerialPortD2xxTest, FailuresKeepThePortsOwnReason) {
    FtHandle handle = 0;
    script->failOpen = PortProblem::PermissionDenied;
    EXPECT_EQ(backend->openBySerialNumber("VK0001", handle), ft::DEVICE_NOT_OPENED);
    ASSERT_TRUE(backend->lastFailure());
    EXPECT_EQ(backend->lastFailure()->kind, LinkErrorKind::PermissionDenied);
    EXPECT_EQ(backend->lastFailure()->device, "/dev/ttyUSB0");
    EXPECT_EQ(backend->lastFailure()->detail, "Permission denied");

    script->failOpen = PortProblem::None;
    handle = Open();
    EXPECT_FALSE(backend->lastFailure());
    script->failConfigure = true;
    EXPECT_EQ(backend->setBaudRate(handle, 115200), ft::IO_ERROR);
    ASSERT_TRUE(backend->lastFailure());
    EXPECT_EQ(backend->lastFailure()->kind, LinkErrorKind::DriverCall);
    EXPECT_EQ(backend->lastFailure()->detail, "Unsupported operation");
}

// Every scan asks the system again: a pedal plugged back in on another port is found and
// opened there by its serial number.
TEST_F(SerialPortD2xxTest, APedalBackOnAnotherPortIsFoundThere) {
    const FtHandle first = Open("VK0001");
    EXPECT_EQ(script->openedName, "/dev/ttyUSB0");
    script->unplugged = true;
    std::uint32_t queued = 0;
    EXPECT_EQ(backend->getQueueStatus(first, queued), ft::IO_ERROR);
    EXPECT_EQ(backend->close(first), ft::OK);

    system->ports = {{"/dev/ttyUSB3", "VK0001", "Varkunda TZ5", true}};
    script->unplugged = false;
    using Listing = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Listed(), (Listing{{"VK0001", "Varkunda TZ5"}, {"/dev/pts/7", "Varkunda TZ5"}}));
    std::string serial;
    ASSERT_EQ(backend->listSerialNumber(0, serial), ft::OK);
    EXPECT_EQ(serial, "VK0001");

    const FtHandle second = Open("VK0001");
    EXPECT_EQ(script->openedName, "/dev/ttyUSB3");
    EXPECT_EQ(backend->getQueueStatus(second, queued), ft::OK);
}

TEST_F(SerialPortD2xxTest, WritesReportFailuresAndPartialWrites) {
    const FtHandle handle = Open();
    const std::vector<std::uint8_t> message(4352, 0x55);
    std::uint32_t written = 0;
    EXPECT_EQ(backend->write(handle, message.data(), 4352, written), ft::OK);
    EXPECT_EQ(written, 4352u);
    // The limit covers the wire time of the whole block at 115200 baud, twice over.
    EXPECT_GE(script->writeLimits.back(), kSerialWriteMargin + 2 * 415ms);

    script->writeAccepts = 100;
    EXPECT_EQ(backend->write(handle, message.data(), 4352, written), ft::IO_ERROR);
    EXPECT_EQ(written, 100u);
    script->writeAccepts = -1;
    EXPECT_EQ(backend->write(handle, message.data(), 2, written), ft::IO_ERROR);
    EXPECT_EQ(written, 0u);
}

}  // namespace
