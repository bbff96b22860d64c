#include <gtest/gtest.h>

#include "link/backends/BackendFactory.h"
#include "link/backends/SerialPortD2xx.h"
#include "link/backends/SimulatedD2xx.h"
#include "link/backends/VendorD2xx.h"

using namespace varkunda::link;

namespace {

std::vector<std::string> ListedSerials(D2xx& device) {
    std::uint32_t count = 0;
    EXPECT_EQ(device.listDeviceCount(count), ft::OK);
    std::vector<std::string> serials(count);
    for (std::uint32_t i = 0; i < count; ++i)
        EXPECT_EQ(device.listSerialNumber(i, serials[i]), ft::OK);
    return serials;
}

TEST(CreateBackend, SimMakesSoftwarePedalsWithTheirOwnSerialNumbers) {
    const auto device =
        CreateBackend(ParseBackendChoice({"editor", "--device", "sim:2"}, "")).device;
    ASSERT_NE(device, nullptr);
    auto* simulated = dynamic_cast<SimulatedD2xx*>(device.get());
    ASSERT_NE(simulated, nullptr);
    EXPECT_EQ(ListedSerials(*device), (std::vector<std::string>{"VKTZ5001", "VKTZ5002"}));
}

TEST(CreateBackend, SerialListsTheNamedPort) {
    const auto device =
        CreateBackend(ParseBackendChoice({"editor"}, "serial:/nonexistent/ttyPedal")).device;
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(ListedSerials(*device).back(), "/nonexistent/ttyPedal");
    FtHandle handle = 0;
    EXPECT_EQ(device->openBySerialNumber("/nonexistent/ttyPedal", handle), ft::DEVICE_NOT_OPENED);
    // The port's own reason comes with the status.
    ASSERT_TRUE(device->lastFailure());
    EXPECT_EQ(device->lastFailure()->device, "/nonexistent/ttyPedal");
    EXPECT_FALSE(device->lastFailure()->detail.empty());
}

TEST(CreateBackend, FailsWithTheReasonWhenTheBackendCannotBeMade) {
    const CreatedBackend vendor = CreateBackend(
        ParseBackendChoice({"editor", "--device", "d2xx:/nonexistent/libftd2xx.so"}, ""));
    EXPECT_EQ(vendor.device, nullptr);
    ASSERT_TRUE(vendor.error);
    EXPECT_EQ(vendor.error->kind, LinkErrorKind::LibraryNotLoaded);

    const CreatedBackend unknown =
        CreateBackend(ParseBackendChoice({"editor", "--device", "usb"}, ""));
    EXPECT_EQ(unknown.device, nullptr);
    ASSERT_TRUE(unknown.error);
    EXPECT_EQ(unknown.error->kind, LinkErrorKind::UnknownDeviceChoice);
    EXPECT_EQ(unknown.error->detail, "usb");
}

TEST(CreateBackend, AutoFallsBackToSerialPortsWithoutTheVendorLibrary) {
    const auto device = CreateBackend(BackendChoice{}).device;
    ASSERT_NE(device, nullptr);
    const bool vendorPresent = VendorD2xx::Load({}).library != nullptr;
    EXPECT_EQ(dynamic_cast<VendorD2xx*>(device.get()) != nullptr, vendorPresent);
    EXPECT_EQ(dynamic_cast<SerialPortD2xx*>(device.get()) != nullptr, !vendorPresent);
}

}  // namespace
