#include <gtest/gtest.h>

// Built where the stand-in library is built.
#ifdef VARKUNDA_FTD2XX_STANDIN_PATH

#include <QLibrary>

#include "link/StatusRequest.h"
#include "link/backends/VendorD2xx.h"
#include "sim/PedalSimulator.h"

using namespace varkunda::link;

namespace {

// The loader against the stand-in library, whose D2XX calls are served by a software
// pedal; VarkundaStandin_Pedal gives that pedal for checks of what it received.
TEST(VendorD2xxOnStandIn, ListsOpensAndRoundTripsTheStatus) {
    const VendorLoad loaded = VendorD2xx::Load(VARKUNDA_FTD2XX_STANDIN_PATH);
    ASSERT_NE(loaded.library, nullptr) << (loaded.error ? loaded.error->detail : "");
    VendorD2xx* vendor = loaded.library.get();
    QLibrary standin(QStringLiteral(VARKUNDA_FTD2XX_STANDIN_PATH));
    using PedalFunction = void* (*)(unsigned);
    const auto pedalOf = reinterpret_cast<PedalFunction>(standin.resolve("VarkundaStandin_Pedal"));
    ASSERT_NE(pedalOf, nullptr);
    auto* pedal = static_cast<varkunda::sim::PedalSimulator*>(pedalOf(0));

    D2xxAccess access(*vendor);
    std::vector<LinkError> reports;
    access.setErrorReporter([&](const LinkError& error) { reports.push_back(error); });
    ASSERT_EQ(access.GetFTDeviceCount(), ft::OK);
    EXPECT_EQ(access.DeviceCount, 1u);
    ASSERT_EQ(access.GetFTDeviceSerialNo(0), ft::OK);
    EXPECT_EQ(access.ListResult, pedal->identity().serialNumber);
    ASSERT_EQ(access.GetFTDeviceDescription(0), ft::OK);
    EXPECT_EQ(access.ListResult, "Varkunda TZ5");

    ASSERT_EQ(access.Open_USB_Device_By_Serial_Number(pedal->identity().serialNumber), ft::OK);
    access.SetLineParameters(LineMode::NormalLine);
    EXPECT_EQ(access.SetDeviceBaudRate(), ft::OK);
    EXPECT_EQ(access.SetDeviceDataCharacteristics(), ft::OK);
    EXPECT_EQ(pedal->lineSettings(), (varkunda::sim::LineSettings{115200, 8, 0, 0}));
    EXPECT_EQ(access.SetDeviceLatencyTimer(2), ft::OK);
    EXPECT_EQ(pedal->latencyTimer(), std::chrono::milliseconds(2));

    FakeLinkEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    const StatusOutcome outcome = RequestStatus(transport);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.numbers, pedal->statusNumbers());
    EXPECT_EQ(pedal->hostBytes(), (std::vector<std::uint8_t>{0x02, 0x00}));

    EXPECT_EQ(access.CloseDevice(), ft::OK);
    access.ErrorReportsOn = false;
    EXPECT_EQ(access.CloseDevice(), ft::INVALID_HANDLE);
    EXPECT_TRUE(reports.empty());
}

}  // namespace

#endif  // VARKUNDA_FTD2XX_STANDIN_PATH
