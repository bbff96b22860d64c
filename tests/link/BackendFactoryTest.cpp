#include "link/backends/BackendFactory.h"

#include <gtest/gtest.h>

#include "link/backends/SerialPortD2xx.h"
#include "link/backends/SimulatedD2xx.h"
#include "link/backends/VendorD2xx.h"

using namespace varkunda::link;

namespace {

std::vector<std::string> ListedSerials(D2xx& device) {
    std::uint32_t count = 0;
    EXPECT_EQ(device.listDeviceCount(count), ft::OK);
    std::vector<std::string> serials(count);
    for (std::uint32_t i = 0; i < count; ++i) EXPECT_EQ(device.listSerialNumber(i, serials[i]), ft::OK);
    return serials;
}

TEST(CreateBackend, SimMakesSoftwarePedalsWithTheirOwnSerialNumbers) {
    std::string error;
    const auto device = CreateBackend(ParseBackendChoice({"editor", "--device", "sim:2"}, ""), error);
    ASSERT_NE(device, nullptr) << error;
    auto* simulated = dynamic_cast<SimulatedD2xx*>(device.get());
    ASSERT_NE(simulated, nullptr);
    EXPECT_EQ(ListedSerials(*device), (std::vector<std::string>{"VKTZ5001", "VKTZ5002"}));
}

TEST(CreateBackend, SerialListsTheNamedPort) {
    std::string error;
    const auto device =
        CreateBackend(ParseBackendChoice({"editor"}, "serial:/nonexistent/ttyPedal"), error);
    ASSERT_NE(device, nullptr) << error;
    EXPECT_EQ(ListedSerials(*device).back(), "/nonexistent/ttyPedal");
    FtHandle handle = 0;
    EXPECT_EQ(device->openBySerialNumber("/nonexistent/ttyPedal", handle), ft::DEVICE_NOT_OPENED);
}

TEST(CreateBackend, FailsWithTheReasonWhenTheBackendCannotBeMade) {
    std::string error;
    EXPECT_EQ(CreateBackend(ParseBackendChoice({"editor", "--device", "d2xx:/nonexistent/libftd2xx.so"}, ""),
                            error),
              nullptr);
    EXPECT_EQ(error.rfind("The FTDI D2XX library could not be loaded: ", 0), 0u) << error;

    EXPECT_EQ(CreateBackend(ParseBackendChoice({"editor", "--device", "usb"}, ""), error), nullptr);
    EXPECT_EQ(error, "Unknown device choice \"usb\": use sim, sim:N, serial, serial:PORT, d2xx or auto.");
}

TEST(CreateBackend, AutoFallsBackToSerialPortsWithoutTheVendorLibrary) {
    std::string error;
    const auto device = CreateBackend(BackendChoice{}, error);
    ASSERT_NE(device, nullptr) << error;
    std::string vendorError;
    const bool vendorPresent = VendorD2xx::Load({}, vendorError) != nullptr;
    EXPECT_EQ(dynamic_cast<VendorD2xx*>(device.get()) != nullptr, vendorPresent);
    EXPECT_EQ(dynamic_cast<SerialPortD2xx*>(device.get()) != nullptr, !vendorPresent);
}

}  // namespace
