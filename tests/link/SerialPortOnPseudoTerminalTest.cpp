#include <gtest/gtest.h>

// Pseudo-terminals exist where the software pedal's program is built.
#ifdef VARKUNDA_PEDAL_SIM_PATH

#include "PseudoTerminalPedal.h"
#include "link/DeviceLink.h"
#include "link/FirmwareUpgrade.h"
#include "link/StatusRequest.h"
#include "link/backends/SerialPortD2xx.h"
#include "tools/TestImages.h"

using namespace varkunda::link;
using namespace std::chrono_literals;

namespace {

TEST(SerialPortOnPseudoTerminal, ListsOpensAndReadsTheStatusOfTheSoftwarePedal) {
    PedalSimProcess pedal;
    ASSERT_FALSE(pedal.path().empty()) << "varkunda-pedal-sim printed no path";

    SerialPortD2xx backend(CreateQtSerialPortSystem(), pedal.path());
    D2xxAccess access(backend);
    std::vector<LinkError> reports;
    access.setErrorReporter([&](const LinkError& error) { reports.push_back(error); });

    ASSERT_EQ(access.GetFTDeviceCount(), ft::OK);
    ASSERT_GE(access.DeviceCount, 1u);
    const std::uint32_t last = access.DeviceCount - 1;
    ASSERT_EQ(access.GetFTDeviceSerialNo(last), ft::OK);
    EXPECT_EQ(access.ListResult, pedal.path());
    ASSERT_EQ(access.GetFTDeviceDescription(last), ft::OK);
    EXPECT_EQ(access.ListResult, "Varkunda TZ5");

    ASSERT_EQ(access.Open_USB_Device_By_Serial_Number(pedal.path()), ft::OK);
    access.SetLineParameters(LineMode::NormalLine);
    EXPECT_EQ(access.SetDeviceBaudRate(), ft::OK);
    EXPECT_EQ(access.SetDeviceDataCharacteristics(), ft::OK);

    ShortPauseEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    const StatusOutcome outcome = RequestStatus(transport);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.numbers.size(), 102u);
    EXPECT_EQ(outcome.reply->FirmwareVersionText(), "13");
    EXPECT_EQ(outcome.reply->AlgorithmVersionText(), "0014");

    // A second request gets a fresh, whole reply again.
    ASSERT_TRUE(RequestStatus(transport).ok());
    EXPECT_EQ(access.CloseDevice(), ft::OK);
    EXPECT_TRUE(reports.empty()) << reports.front().call;
}

// A pseudo-terminal refuses even parity (and the low-latency flag); the pedal's program
// takes any parity there, so the whole upgrade goes through at 8N1.
TEST(SerialPortOnPseudoTerminal, UpgradesThePedalInItsBootloader) {
    PedalSimProcess pedal({QStringLiteral("--no-pacing"), QStringLiteral("--bootloader")});
    ASSERT_FALSE(pedal.path().empty()) << "varkunda-pedal-sim printed no path";
    SerialPortD2xx backend(CreateQtSerialPortSystem(), pedal.path());
    D2xxAccess access(backend);
    access.ErrorReportsOn = false;
    access.SetLineParameters(LineMode::NormalLine);
    ShortPauseEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    ASSERT_TRUE(OpenDeviceLink(transport, pedal.path(), false).opened());

    ASSERT_FALSE(BootloaderClient(transport).Connect());
    const auto& image = varkunda::images::FirmwareTestImage(12);
    const BootloaderResult result = RunFirmwareUpgrade(transport, image, 12);
    ASSERT_FALSE(result) << BootloaderErrorText(*result);

    const StatusOutcome outcome = RequestStatus(transport);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.reply->FirmwareVersionText(), "12");
    EXPECT_EQ(access.CloseDevice(), ft::OK);
}

}  // namespace

#endif  // VARKUNDA_PEDAL_SIM_PATH
