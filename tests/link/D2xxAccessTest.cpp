#include "link/D2xxAccess.h"

#include <gtest/gtest.h>

#include <functional>

#include "FakeD2xx.h"

using namespace varkunda::link;
using varkunda::link::testing::FakeD2xx;

namespace {

class D2xxAccessTest : public ::testing::Test {
protected:
    D2xxAccessTest() {
        access.setErrorReporter([this](const std::string& text) { reports.push_back(text); });
    }

    FakeD2xx driver;
    D2xxAccess access{driver};
    std::vector<std::string> reports;
};

struct StatusTextCase {
    FtStatus status;
    const char* text;
};

class StatusTextTest : public ::testing::TestWithParam<StatusTextCase> {};

TEST_P(StatusTextTest, MatchesTheDriverStatus) {
    EXPECT_EQ(D2xxAccess::StatusText(GetParam().status), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    AllStatuses, StatusTextTest,
    ::testing::Values(StatusTextCase{1, " - Invalid handle..."},
                      StatusTextCase{2, " - Device not found..."},
                      StatusTextCase{3, " - Device not opened..."},
                      StatusTextCase{4, " - General IO error..."},
                      StatusTextCase{5, " - Insufficient resources..."},
                      StatusTextCase{6, " - Invalid parameter..."},
                      StatusTextCase{7, " - Invalid baud rate..."},
                      StatusTextCase{8, " Device not opened for erase..."},
                      StatusTextCase{9, " Device not opened for write..."},
                      StatusTextCase{10, " - Failed to write..."},
                      StatusTextCase{11, " - EEPROM read failed..."},
                      StatusTextCase{12, " - EEPROM write failed..."},
                      StatusTextCase{13, " - EEPROM erase failed..."},
                      StatusTextCase{14, " - EEPROM not present..."},
                      StatusTextCase{15, " - EEPROM not programmed..."},
                      StatusTextCase{16, " - Invalid arguments..."},
                      StatusTextCase{17, " - Other error ..."},
                      StatusTextCase{18, " - Unknown error (status 18)..."},
                      StatusTextCase{23, " - Unknown error (status 23)..."}));

struct WrapperCase {
    const char* driverCall;
    const char* label;
    std::function<void(D2xxAccess&)> call;
};

TEST_F(D2xxAccessTest, EachWrapperReportsItsLabelWithTheStatusText) {
    const std::vector<WrapperCase> cases = {
        {"listDeviceCount", "GetFTDeviceCount", [](D2xxAccess& a) { a.GetFTDeviceCount(); }},
        {"listSerialNumber", "GetFTDeviceSerialNo", [](D2xxAccess& a) { a.GetFTDeviceSerialNo(0); }},
        {"listDescription", "GetFTDeviceDescription",
         [](D2xxAccess& a) { a.GetFTDeviceDescription(0); }},
        {"open", "Open_USB_Device_By_Serial_Number",
         [](D2xxAccess& a) { a.Open_USB_Device_By_Serial_Number("X"); }},
        {"close", "FT_Close", [](D2xxAccess& a) { a.CloseDevice(); }},
        {"setBaudRate", "FT_SetBaudRate", [](D2xxAccess& a) { a.SetDeviceBaudRate(); }},
        {"setDataCharacteristics", "FT_SetDataCharacteristics",
         [](D2xxAccess& a) { a.SetDeviceDataCharacteristics(); }},
        {"purgeRX", "FT_Purge RX", [](D2xxAccess& a) { a.PurgeDeviceRX(); }},
        {"purgeTX", "FT_Purge TX", [](D2xxAccess& a) { a.PurgeDeviceTX(); }},
        {"getQueueStatus", "FT_GetQueueStatus", [](D2xxAccess& a) { a.GetDeviceQueueStatus(); }},
        {"read", "FT_Read", [](D2xxAccess& a) { a.ReadDeviceBuffer(); }},
        {"write", "FT_Write", [](D2xxAccess& a) { a.WriteDeviceBuffer(2); }},
    };
    for (const WrapperCase& wrapper : cases) {
        SCOPED_TRACE(wrapper.label);
        driver.failing = {{wrapper.driverCall, 8}};
        reports.clear();
        wrapper.call(access);
        EXPECT_EQ(reports, std::vector<std::string>{std::string(wrapper.label) +
                                                    " Device not opened for erase..."});
    }
}

TEST_F(D2xxAccessTest, ReportsNothingWhileReportsAreOffButStillReturnsTheStatus) {
    access.ErrorReportsOn = false;
    driver.failing = {{"write", ft::DEVICE_NOT_FOUND}, {"close", ft::INVALID_HANDLE}};
    access.DeviceOutBuffer[0] = 0x0D;
    EXPECT_EQ(access.WriteDeviceBuffer(2), 0u);
    EXPECT_EQ(access.LastIOStatus, ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(access.CloseDevice(), ft::INVALID_HANDLE);
    EXPECT_TRUE(reports.empty());

    access.ErrorReportsOn = true;
    access.WriteDeviceBuffer(2);
    EXPECT_EQ(reports, std::vector<std::string>{"FT_Write - Device not found..."});
}

TEST_F(D2xxAccessTest, ListResultKeepsTheLastTextWhenAListCallFails) {
    driver.devices = {{"VK0001", "Varkunda TZ5"}};
    ASSERT_EQ(access.GetFTDeviceCount(), ft::OK);
    EXPECT_EQ(access.DeviceCount, 1u);
    ASSERT_EQ(access.GetFTDeviceSerialNo(0), ft::OK);
    EXPECT_EQ(access.ListResult, "VK0001");

    EXPECT_EQ(access.GetFTDeviceDescription(5), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(access.ListResult, "VK0001");
    ASSERT_EQ(access.GetFTDeviceDescription(0), ft::OK);
    EXPECT_EQ(access.ListResult, "Varkunda TZ5");
}

TEST_F(D2xxAccessTest, OpenCutsTheSerialNumberTo49Characters) {
    const std::string serial(60, 'S');
    ASSERT_EQ(access.Open_USB_Device_By_Serial_Number(serial + "tail"), ft::OK);
    EXPECT_EQ(driver.openedSerial, std::string(49, 'S'));
    EXPECT_EQ(access.DeviceHandle, driver.nextHandle);

    access.Open_USB_Device_By_Serial_Number("VK0001");
    EXPECT_EQ(driver.openedSerial, "VK0001");
}

TEST_F(D2xxAccessTest, CloseLeavesTheHandleAndAFailedOpenKeepsTheOldOne) {
    access.Open_USB_Device_By_Serial_Number("VK0001");
    const FtHandle opened = access.DeviceHandle;
    access.CloseDevice();
    EXPECT_EQ(access.DeviceHandle, opened);

    driver.failing = {{"open", ft::DEVICE_NOT_FOUND}};
    driver.nextHandle = 0x9999;
    EXPECT_EQ(access.Open_USB_Device_By_Serial_Number("other"), ft::DEVICE_NOT_FOUND);
    EXPECT_EQ(access.DeviceHandle, opened);
}

TEST_F(D2xxAccessTest, ReadTakesExactlyTheQueuedBytesAtMostOneBuffer) {
    driver.queued.assign(70000, 0x31);
    driver.queued[0] = 0x55;
    EXPECT_EQ(access.ReadDeviceBuffer(), 65536u);
    EXPECT_EQ(driver.readSizes.back(), 65536u);
    EXPECT_EQ(access.DeviceInBuffer[0], 0x55);
    EXPECT_EQ(driver.queued.size(), 70000u - 65536u);

    EXPECT_EQ(access.ReadDeviceBuffer(), 70000u - 65536u);
    EXPECT_EQ(driver.readSizes.back(), 70000u - 65536u);
    EXPECT_EQ(access.ReadDeviceBuffer(), 0u);
    EXPECT_EQ(access.LastIOStatus, ft::OK);
}

TEST_F(D2xxAccessTest, AFailedReadCountsAsNoBytes) {
    driver.Queue("12\r\n");
    driver.failing = {{"read", ft::IO_ERROR}};
    EXPECT_EQ(access.ReadDeviceBuffer(), 0u);
    EXPECT_EQ(access.LastIOStatus, ft::IO_ERROR);
    EXPECT_EQ(reports, std::vector<std::string>{"FT_Read - General IO error..."});
}

TEST_F(D2xxAccessTest, WriteSendsTheStartOfTheOutBuffer) {
    ASSERT_EQ(access.ConvertToOutBuffer("0d01"), 2u);
    EXPECT_EQ(access.WriteDeviceBuffer(2), 2u);
    ASSERT_EQ(driver.writes.size(), 1u);
    EXPECT_EQ(driver.writes[0], (std::vector<std::uint8_t>{0x0D, 0x01}));
    EXPECT_EQ(access.LastIOStatus, ft::OK);
}

TEST_F(D2xxAccessTest, ConversionStopsAtTheFirstBadPairAndKeepsTheRest) {
    access.DeviceOutBuffer[2] = 0x77;
    EXPECT_EQ(access.ConvertToOutBuffer("0F01ZZ"), 2u);
    EXPECT_EQ(access.DeviceOutBuffer[0], 0x0F);
    EXPECT_EQ(access.DeviceOutBuffer[1], 0x01);
    EXPECT_EQ(access.DeviceOutBuffer[2], 0x77);
}

TEST_F(D2xxAccessTest, LineParametersFollowTheMode) {
    access.SetLineParameters(LineMode::BootloaderLine);
    EXPECT_EQ(access.LineBaudRate, 115200u);
    EXPECT_EQ(access.LineWordLength, 8);
    EXPECT_EQ(access.LineStopBits, 0);
    EXPECT_EQ(access.LineParity, 2);
    access.SetLineParameters(static_cast<LineMode>(7));
    EXPECT_EQ(access.LineParity, 2);
    access.SetLineParameters(LineMode::NormalLine);
    EXPECT_EQ(access.LineParity, 0);
    // Only the setters hand the values to the driver.
    EXPECT_TRUE(driver.calls.empty());
}

}  // namespace
