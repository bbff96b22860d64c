#include <gtest/gtest.h>

#include "FakeD2xx.h"
#include "LinkFixture.h"
#include "link/DeviceLink.h"

using namespace varkunda::link;
using varkunda::link::testing::FailedCall;
using varkunda::link::testing::FakeD2xx;

namespace {

class DeviceLinkTest : public varkunda::link::testing::LinkFixture<FakeD2xx> {
  protected:
    DeviceLinkTest() { access.SetLineParameters(LineMode::NormalLine); }
};

TEST_F(DeviceLinkTest, ListsEveryDeviceInIndexOrderWithoutCarryingTextsOver) {
    driver.devices = {{"VK0001", "Varkunda TZ5"}, {"FT55AB", "USB Serial"}};
    std::vector<FoundDevice> found = ListDevices(access);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].serial, "VK0001");
    EXPECT_EQ(found[1].description, "USB Serial");

    driver.failing = {{"listSerialNumber", ft::DEVICE_NOT_FOUND}};
    found = ListDevices(access);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].serialStatus, ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(found[1].serial, "");  // not the description listed just before
    EXPECT_EQ(found[1].description, "USB Serial");
}

TEST_F(DeviceLinkTest, OpenSetsTheLineAndTheLatencyTimerAndLogsTheHandleAndBaudRate) {
    const LinkOpenResult result = OpenDeviceLink(transport, "VK0001", false);
    EXPECT_TRUE(result.opened());
    EXPECT_FALSE(result.bootloaderAnswer);
    EXPECT_EQ(driver.openedSerial, "VK0001");
    EXPECT_EQ(driver.calls,
              (std::vector<std::string>{"open", "setBaudRate", "setDataCharacteristics",
                                        "setLatencyTimer"}));
    EXPECT_EQ(driver.latencyTimer, kEditorLatencyTimerMs);
    EXPECT_EQ(lines, (std::vector<std::string>{"serial number: VK0001", "FT_HANDLE: 0x00001234",
                                               "direct baud rate = 115200"}));
}

// A bridge that keeps its own timer is slower, not broken: one log line, no report.
TEST_F(DeviceLinkTest, ALatencyTimerTheBridgeRefusesStillLinks) {
    for (const FtStatus refusal : {ft::NOT_SUPPORTED, ft::IO_ERROR}) {
        SCOPED_TRACE(refusal);
        lines.clear();
        driver.failing = {{"setLatencyTimer", refusal}};
        const LinkOpenResult result = OpenDeviceLink(transport, "VK0001", false);
        EXPECT_TRUE(result.opened());
        EXPECT_EQ(lines.back(), "Latency timer left as it was (FT_SetLatencyTimer status " +
                                    std::to_string(refusal) + "): short answers may come later");
    }
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(access.DeviceLoss());
}

TEST_F(DeviceLinkTest, AFailedOpenSetsNothingAndSkipsTheHandshake) {
    driver.failing = {{"open", ft::DEVICE_NOT_FOUND}};
    const LinkOpenResult result = OpenDeviceLink(transport, "VK0001", true);
    EXPECT_FALSE(result.opened());
    EXPECT_FALSE(result.bootloaderConnected());
    EXPECT_EQ(driver.calls, std::vector<std::string>{"open"});
    const LinkError openFailed =
        FailedCall("Open_USB_Device_By_Serial_Number", ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(reports, std::vector<LinkError>{openFailed});
    EXPECT_EQ(result.error, openFailed);
}

TEST_F(DeviceLinkTest, TheBootloaderHandshakeSwitchesToEvenParityAndReadsTheAck) {
    driver.onWrite = [this](const std::vector<std::uint8_t>& bytes) {
        if (bytes == std::vector<std::uint8_t>{kBootloaderSync}) driver.queued.push_back(0x79);
    };
    const LinkOpenResult result = OpenDeviceLink(transport, "VK0001", true);
    EXPECT_TRUE(result.bootloaderConnected());
    EXPECT_EQ(access.LineParity, ft::PARITY_EVEN);
    EXPECT_EQ(lines.back(), "direct received Byte: 79");

    // A port that cannot carry parity (a pseudo-terminal) still gets the sync.
    driver.failing = {{"setDataCharacteristics", ft::INVALID_PARAMETER}};
    EXPECT_EQ(BootloaderHandshake(transport), "79");
    EXPECT_EQ(reports, std::vector<LinkError>{
                           FailedCall("FT_SetDataCharacteristics", ft::INVALID_PARAMETER)});
    driver.failing.clear();

    driver.onWrite = nullptr;  // a pedal running its normal firmware stays silent
    EXPECT_EQ(BootloaderHandshake(transport), "");
    EXPECT_EQ(lines.back(), "direct received Byte: ");
    EXPECT_EQ(access.LineParity, ft::PARITY_EVEN);
}

// A line that could not be set to the pedal's settings would garble every message.
TEST_F(DeviceLinkTest, ALineWhoseSettingsFailIsClosedAndNotLinked) {
    for (const char* setter : {"setBaudRate", "setDataCharacteristics"}) {
        SCOPED_TRACE(setter);
        driver.calls.clear();
        lines.clear();
        driver.failing = {{setter, ft::INVALID_PARAMETER}};

        const LinkOpenResult result = OpenDeviceLink(transport, "VK0001", true);

        EXPECT_FALSE(result.opened());
        ASSERT_TRUE(result.error);
        EXPECT_EQ(result.error->kind, LinkErrorKind::LineSettingsFailed);
        EXPECT_EQ(result.error->driverStatus, ft::INVALID_PARAMETER);
        EXPECT_EQ(driver.calls.back(), "close");
        EXPECT_FALSE(result.bootloaderAnswer) << "no handshake on a closed line";
        EXPECT_EQ(lines, std::vector<std::string>{"serial number: VK0001"});
    }
    EXPECT_EQ(reports, (std::vector<LinkError>{
                           FailedCall("FT_SetBaudRate", ft::INVALID_PARAMETER),
                           FailedCall("FT_SetDataCharacteristics", ft::INVALID_PARAMETER)}));
}

}  // namespace
