#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/backends/SimulatedD2xx.h"

namespace varkunda::link {
namespace {

sim::PedalIdentity Identity(const std::string& serial) {
    sim::PedalIdentity identity;
    identity.serialNumber = serial;
    return identity;
}

std::vector<std::uint8_t> Drain(D2xx& driver, FtHandle handle) {
    std::uint32_t queued = 0;
    EXPECT_EQ(driver.getQueueStatus(handle, queued), ft::OK);
    std::vector<std::uint8_t> bytes(queued);
    std::uint32_t read = 0;
    EXPECT_EQ(driver.read(handle, bytes.data(), queued, read), ft::OK);
    bytes.resize(read);
    return bytes;
}

class SimulatedDriver : public ::testing::Test {
  protected:
    FtHandle openFirst() {
        FtHandle handle = 0;
        EXPECT_EQ(driver.openBySerialNumber("VKTZ5001", handle), ft::OK);
        return handle;
    }
    FtStatus writeBytes(FtHandle handle, std::vector<std::uint8_t> bytes,
                        std::uint32_t* written = nullptr) {
        std::uint32_t count = 0;
        const FtStatus status =
            driver.write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), count);
        if (written) *written = count;
        return status;
    }

    SimulatedD2xx driver{{Identity("VKTZ5001"), Identity("VKTZ5002")}};
};

TEST_F(SimulatedDriver, ListsEveryPedalWithSerialAndDescription) {
    std::uint32_t count = 0;
    EXPECT_EQ(driver.listDeviceCount(count), ft::OK);
    EXPECT_EQ(count, 2u);
    std::string text;
    EXPECT_EQ(driver.listSerialNumber(1, text), ft::OK);
    EXPECT_EQ(text, "VKTZ5002");
    EXPECT_EQ(driver.listDescription(0, text), ft::OK);
    EXPECT_EQ(text, "Varkunda TZ5");
    text = "before";
    EXPECT_EQ(driver.listSerialNumber(2, text), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(driver.listDescription(2, text), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(text, "before");
}

TEST_F(SimulatedDriver, DefaultConstructionOffersOnePedal) {
    SimulatedD2xx single;
    std::uint32_t count = 0;
    single.listDeviceCount(count);
    EXPECT_EQ(count, 1u);
    ASSERT_NE(single.pedal(0), nullptr);
    EXPECT_EQ(single.pedal(1), nullptr);
    FtHandle handle = 0;
    EXPECT_EQ(single.openBySerialNumber(single.pedal(0)->identity().serialNumber, handle), ft::OK);
}

TEST_F(SimulatedDriver, OpensBySerialWithANonZeroHandle) {
    FtHandle first = 0, second = 0, unknown = 77;
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5001", first), ft::OK);
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5002", second), ft::OK);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5003", unknown), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(driver.openBySerialNumber("VKTZ500", unknown), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(unknown, 77u);
    FtHandle again = 0;
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5001", again), ft::DEVICE_NOT_OPENED);
    EXPECT_EQ(driver.close(first), ft::OK);
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5001", again), ft::OK) << "free again after close";
}

TEST_F(SimulatedDriver, OpensByDescription) {
    FtHandle handle = 0;
    EXPECT_EQ(driver.openByDescription("Varkunda TZ5", handle), ft::OK);
    FtHandle other = 0;
    EXPECT_EQ(driver.openByDescription("Varkunda TZ5", other), ft::DEVICE_NOT_OPENED);
    EXPECT_EQ(driver.openByDescription("Other", other), ft::DEVICE_NOT_FOUND);
}

TEST_F(SimulatedDriver, StatusRoundTripReachesTheRightPedal) {
    FtHandle second = 0;
    ASSERT_EQ(driver.openBySerialNumber("VKTZ5002", second), ft::OK);
    std::uint32_t written = 0;
    EXPECT_EQ(writeBytes(second, {0x07, 0x05}, &written), ft::OK);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(driver.pedal(1)->state().midiChannel, 5);
    EXPECT_EQ(driver.pedal(0)->state().midiChannel, 0);
    EXPECT_EQ(writeBytes(second, {0x02, 0x00}), ft::OK);
    const auto reply = Drain(driver, second);
    EXPECT_EQ(std::string(reply.begin(), reply.begin() + 4), "13\r\n");
    EXPECT_EQ(Drain(driver, second).size(), 0u) << "read takes what was queued";
}

TEST_F(SimulatedDriver, ReadTakesAtMostWhatIsAskedAndNeverWaits) {
    const FtHandle handle = openFirst();
    writeBytes(handle, {0x02, 0x00});
    std::uint8_t buffer[5];
    std::uint32_t read = 0;
    EXPECT_EQ(driver.read(handle, buffer, 5, read), ft::OK);
    EXPECT_EQ(read, 5u);
    std::uint32_t queued = 0;
    driver.getQueueStatus(handle, queued);
    const std::uint32_t rest = queued;
    std::vector<std::uint8_t> big(rest + 100);
    EXPECT_EQ(driver.read(handle, big.data(), static_cast<std::uint32_t>(big.size()), read),
              ft::OK);
    EXPECT_EQ(read, rest);
    EXPECT_EQ(driver.read(handle, big.data(), 10, read), ft::OK);
    EXPECT_EQ(read, 0u);
}

TEST_F(SimulatedDriver, LineSettingsGoToThePedal) {
    const FtHandle handle = openFirst();
    EXPECT_EQ(driver.setBaudRate(handle, 57600), ft::OK);
    EXPECT_EQ(driver.setDataCharacteristics(handle, ft::BITS_8, ft::STOP_BITS_1, ft::PARITY_EVEN),
              ft::OK);
    const auto line = driver.pedal(0)->lineSettings();
    EXPECT_EQ(line.baudRate, 57600u);
    EXPECT_EQ(line.wordLength, 8);
    EXPECT_EQ(line.stopBits, 0);
    EXPECT_EQ(line.parity, 2);
    EXPECT_EQ(driver.setBaudRate(handle, 0), ft::INVALID_BAUD_RATE);
    EXPECT_EQ(driver.setBaudRate(handle, 5000000), ft::INVALID_BAUD_RATE);
    EXPECT_EQ(driver.setDataCharacteristics(handle, 9, 0, 0), ft::INVALID_PARAMETER);
    EXPECT_EQ(driver.setDataCharacteristics(handle, 8, 1, 0), ft::INVALID_PARAMETER);
    EXPECT_EQ(driver.setDataCharacteristics(handle, 8, 0, 5), ft::INVALID_PARAMETER);
    EXPECT_EQ(driver.pedal(0)->lineSettings(), line) << "refused settings change nothing";
}

TEST_F(SimulatedDriver, WritesAreLoggedWithTheLineInForce) {
    const FtHandle handle = openFirst();
    driver.setBaudRate(handle, 115200);
    driver.setDataCharacteristics(handle, 8, 0, 2);
    writeBytes(handle, {0x7F});
    const auto& log = driver.pedal(0)->wireLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].line.parity, 2);
    EXPECT_EQ(log[0].bytes, std::vector<std::uint8_t>{0x7F});
}

TEST_F(SimulatedDriver, PurgeMaskOneDropsReceivedBytes) {
    const FtHandle handle = openFirst();
    writeBytes(handle, {0x02, 0x00});
    EXPECT_EQ(driver.purge(handle, ft::PURGE_TX), ft::OK);
    std::uint32_t queued = 0;
    driver.getQueueStatus(handle, queued);
    EXPECT_GT(queued, 0u) << "purging the transmit side keeps the reply";
    EXPECT_EQ(driver.purge(handle, ft::PURGE_RX), ft::OK);
    driver.getQueueStatus(handle, queued);
    EXPECT_EQ(queued, 0u);
}

TEST_F(SimulatedDriver, PurgeMaskTwoDropsBytesStillOnTheirWayToThePedal) {
    auto now = sim::PedalSimulator::Clock::time_point{};
    driver.pedal(0)->setClock([&now] { return now; });
    driver.pedal(0)->setPacing(true);
    const FtHandle handle = openFirst();
    writeBytes(handle, {0x07, 0x05});
    EXPECT_EQ(driver.purge(handle, ft::PURGE_TX | ft::PURGE_RX), ft::OK);
    now += std::chrono::seconds(1);
    EXPECT_EQ(driver.pedal(0)->state().midiChannel, 0);
}

TEST_F(SimulatedDriver, NeverOpenedOrClosedHandlesAreInvalid) {
    std::uint32_t value = 0;
    std::uint8_t byte = 0;
    for (FtHandle handle : {FtHandle{0}, FtHandle{0x1234}}) {
        EXPECT_EQ(driver.getQueueStatus(handle, value), ft::INVALID_HANDLE);
        EXPECT_EQ(driver.write(handle, &byte, 1, value), ft::INVALID_HANDLE);
        EXPECT_EQ(value, 0u);
        EXPECT_EQ(driver.close(handle), ft::INVALID_HANDLE);
    }
    const FtHandle handle = openFirst();
    EXPECT_EQ(driver.close(handle), ft::OK);
    EXPECT_EQ(driver.close(handle), ft::INVALID_HANDLE);
    EXPECT_EQ(driver.read(handle, &byte, 1, value), ft::INVALID_HANDLE);
    EXPECT_EQ(driver.setBaudRate(handle, 115200), ft::INVALID_HANDLE);
    EXPECT_EQ(driver.setDataCharacteristics(handle, 8, 0, 0), ft::INVALID_HANDLE);
    EXPECT_EQ(driver.purge(handle, ft::PURGE_RX), ft::INVALID_HANDLE);
    EXPECT_TRUE(driver.pedal(0)->wireLog().empty());
}

TEST_F(SimulatedDriver, UnpluggedPedalFailsItsCallsAndLeavesTheList) {
    const FtHandle handle = openFirst();
    driver.pedal(0)->unplug();
    std::uint32_t value = 9;
    std::uint8_t byte = 2;
    EXPECT_EQ(driver.getQueueStatus(handle, value), ft::IO_ERROR);
    EXPECT_EQ(driver.write(handle, &byte, 1, value), ft::IO_ERROR);
    EXPECT_EQ(value, 0u) << "nothing written";
    EXPECT_EQ(driver.read(handle, &byte, 1, value), ft::IO_ERROR);
    EXPECT_EQ(driver.setBaudRate(handle, 115200), ft::IO_ERROR);
    EXPECT_EQ(driver.purge(handle, ft::PURGE_RX), ft::IO_ERROR);

    std::uint32_t count = 0;
    driver.listDeviceCount(count);
    EXPECT_EQ(count, 1u);
    std::string serial;
    driver.listSerialNumber(0, serial);
    EXPECT_EQ(serial, "VKTZ5002");
    FtHandle again = 0;
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5001", again), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(driver.close(handle), ft::OK) << "unlinking an unplugged pedal succeeds";
}

TEST_F(SimulatedDriver, ReplugIsANewDeviceTheOldHandleCannotReach) {
    const FtHandle old = openFirst();
    driver.pedal(0)->unplug();
    driver.pedal(0)->replug();
    std::uint32_t queued = 0;
    EXPECT_EQ(driver.getQueueStatus(old, queued), ft::IO_ERROR);
    FtHandle fresh = 0;
    EXPECT_EQ(driver.openBySerialNumber("VKTZ5001", fresh), ft::OK);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(driver.getQueueStatus(fresh, queued), ft::OK);
}

TEST_F(SimulatedDriver, UnplugDuringAWriteReportsHowMuchWentOut) {
    const FtHandle handle = openFirst();
    driver.pedal(0)->injectFault(sim::Fault::UnplugAfterBytes, 3);
    std::uint32_t written = 0;
    EXPECT_EQ(writeBytes(handle, {0x07, 0x05, 0x0D, 0x01}, &written), ft::IO_ERROR);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(driver.pedal(0)->state().midiChannel, 5);
}

TEST_F(SimulatedDriver, SharesPedalsItWasGiven) {
    auto pedal = std::make_shared<sim::PedalSimulator>(Identity("SHARED1"));
    SimulatedD2xx shared({pedal});
    EXPECT_EQ(shared.pedal(0), pedal);
    FtHandle handle = 0;
    ASSERT_EQ(shared.openBySerialNumber("SHARED1", handle), ft::OK);
    std::uint8_t bypass[] = {0x0D, 0x01};
    std::uint32_t written = 0;
    shared.write(handle, bypass, 2, written);
    EXPECT_EQ(pedal->state().bypass, 1);
}

}  // namespace
}  // namespace varkunda::link
