#include <gtest/gtest.h>

#include <functional>

#include "FakeD2xx.h"
#include "LinkFixture.h"
#include "link/D2xxAccess.h"

using namespace varkunda::link;
using varkunda::link::testing::FailedCall;
using varkunda::link::testing::FakeD2xx;

namespace {

using D2xxAccessTest = varkunda::link::testing::LinkFixture<FakeD2xx>;

struct WrapperCase {
    const char* driverCall;
    const char* label;
    std::function<void(D2xxAccess&)> call;
};

const std::vector<WrapperCase>& Wrappers() {
    static const std::vector<WrapperCase> cases = {
        {"listDeviceCount", "GetFTDeviceCount", [](D2xxAccess& a) { a.GetFTDeviceCount(); }},
        {"listSerialNumber", "GetFTDeviceSerialNo",
         [](D2xxAccess& a) { a.GetFTDeviceSerialNo(0); }},
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
    return cases;
}

TEST_F(D2xxAccessTest, EachWrapperReportsItsLabelWithTheStatus) {
    for (const WrapperCase& wrapper : Wrappers()) {
        SCOPED_TRACE(wrapper.label);
        driver.failing = {{wrapper.driverCall, 8}};
        reports.clear();
        wrapper.call(access);
        EXPECT_EQ(reports, std::vector<LinkError>{FailedCall(wrapper.label, 8)});
        EXPECT_EQ(access.LastFailure, FailedCall(wrapper.label, 8));
    }
    EXPECT_TRUE(lost.empty());
}

TEST_F(D2xxAccessTest, ReportsNothingWhileReportsAreOffButStillReturnsTheStatus) {
    access.ErrorReportsOn = false;
    driver.failing = {{"write", ft::INVALID_HANDLE}, {"close", ft::INVALID_HANDLE}};
    access.DeviceOutBuffer[0] = 0x0D;
    EXPECT_EQ(access.WriteDeviceBuffer(2), 0u);
    EXPECT_EQ(access.LastIOStatus, ft::INVALID_HANDLE);
    EXPECT_EQ(access.CloseDevice(), ft::INVALID_HANDLE);
    EXPECT_TRUE(reports.empty());

    access.ErrorReportsOn = true;
    access.WriteDeviceBuffer(2);
    EXPECT_EQ(reports, std::vector<LinkError>{FailedCall("FT_Write", ft::INVALID_HANDLE)});
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
    driver.failing = {{"read", ft::INSUFFICIENT_RESOURCES}};
    EXPECT_EQ(access.ReadDeviceBuffer(), 0u);
    EXPECT_EQ(access.LastIOStatus, ft::INSUFFICIENT_RESOURCES);
    EXPECT_EQ(reports, std::vector<LinkError>{FailedCall("FT_Read", ft::INSUFFICIENT_RESOURCES)});
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

TEST_F(D2xxAccessTest, TheBackendsOwnReasonTravelsWithTheReport) {
    LinkError reason;
    reason.device = "/dev/ttyUSB0";
    reason.detail = "Input/output error";
    driver.reason = reason;
    driver.failing = {{"setBaudRate", ft::IO_ERROR}};
    access.SetDeviceBaudRate();

    LinkError expected = FailedCall("FT_SetBaudRate", ft::IO_ERROR);
    expected.device = "/dev/ttyUSB0";
    expected.detail = "Input/output error";
    // The backend said what it was: a failure, not a device gone away.
    EXPECT_EQ(reports, std::vector<LinkError>{expected});
    EXPECT_TRUE(lost.empty());
}

// The player must act on a denied port, so it is shown whether reports are on or not.
TEST_F(D2xxAccessTest, ADeniedPortIsReportedEvenWithReportsOff) {
    LinkError reason;
    reason.kind = LinkErrorKind::PermissionDenied;
    reason.device = "/dev/ttyUSB0";
    reason.detail = "Permission denied";
    driver.reason = reason;
    driver.failing = {{"open", ft::DEVICE_NOT_OPENED}};
    access.ErrorReportsOn = false;

    EXPECT_EQ(access.Open_USB_Device_By_Serial_Number("VK0001"), ft::DEVICE_NOT_OPENED);

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, LinkErrorKind::PermissionDenied);
    EXPECT_EQ(reports[0].call, "Open_USB_Device_By_Serial_Number");
    EXPECT_EQ(reports[0].device, "/dev/ttyUSB0");
    EXPECT_EQ(reports[0].detail, "Permission denied");
}

// ---- A device that goes away while open ----

struct GoneCase {
    const char* name;
    FtStatus status;
    std::optional<LinkErrorKind> backendSays;  // nothing: the status decides
    bool lostExpected;
};

class DeviceGone : public D2xxAccessTest, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(DeviceGone, IsTheStatusOrWhatTheBackendSays) {
    const GoneCase& c = GetParam();
    if (c.backendSays) {
        LinkError reason;
        reason.kind = *c.backendSays;
        driver.reason = reason;
    }
    driver.failing = {{"getQueueStatus", c.status}};
    access.GetDeviceQueueStatus();
    EXPECT_EQ(lost.size(), c.lostExpected ? 1u : 0u);
    EXPECT_EQ(reports.size(), c.lostExpected ? 0u : 1u);
    EXPECT_EQ(access.DeviceLoss().has_value(), c.lostExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DeviceGone,
    ::testing::Values(GoneCase{"IoError", ft::IO_ERROR, std::nullopt, true},
                      GoneCase{"DeviceNotFound", ft::DEVICE_NOT_FOUND, std::nullopt, true},
                      GoneCase{"InvalidHandle", ft::INVALID_HANDLE, std::nullopt, false},
                      GoneCase{"DeviceNotOpened", ft::DEVICE_NOT_OPENED, std::nullopt, false},
                      GoneCase{"InvalidHandleOfAVanishedDevice", ft::INVALID_HANDLE,
                               LinkErrorKind::DeviceLost, true},
                      GoneCase{"IoErrorTheBackendKnowsIsNoLoss", ft::IO_ERROR,
                               LinkErrorKind::DriverCall, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(D2xxAccessTest, ALostDeviceIsHandedOverOnceAndLeftAloneUntilTheNextOpen) {
    access.Open_USB_Device_By_Serial_Number("VK0001");
    driver.failing = {{"purgeTX", ft::IO_ERROR},
                      {"write", ft::IO_ERROR},
                      {"getQueueStatus", ft::IO_ERROR},
                      {"close", ft::IO_ERROR}};
    access.ErrorReportsOn = false;  // a lost device is no driver detail: it comes anyway

    access.PurgeDeviceTX();
    access.ErrorReportsOn = true;
    driver.calls.clear();
    EXPECT_EQ(access.WriteDeviceBuffer(2), 0u);
    EXPECT_EQ(access.LastIOStatus, ft::IO_ERROR);
    EXPECT_EQ(access.GetDeviceQueueStatus(), ft::IO_ERROR);
    EXPECT_EQ(access.ReadDeviceBuffer(), 0u);
    EXPECT_EQ(access.PurgeDeviceRX(), ft::IO_ERROR);
    EXPECT_EQ(access.CloseDevice(), ft::IO_ERROR);

    EXPECT_EQ(lost, std::vector<LinkError>{
                        FailedCall("FT_Purge TX", ft::IO_ERROR, LinkErrorKind::DeviceLost)});
    EXPECT_TRUE(reports.empty());
    // Nothing but the close reached the driver after the loss.
    EXPECT_EQ(driver.calls, std::vector<std::string>{"close"});

    driver.failing.clear();
    ASSERT_EQ(access.Open_USB_Device_By_Serial_Number("VK0001"), ft::OK);
    EXPECT_FALSE(access.DeviceLoss());
    driver.failing = {{"write", ft::IO_ERROR}};
    access.WriteDeviceBuffer(2);
    EXPECT_EQ(lost.size(), 2u);
}

TEST_F(D2xxAccessTest, WithoutAHandlerALostDeviceIsReportedOnce) {
    access.setDeviceLostHandler(nullptr);
    driver.failing = {{"read", ft::IO_ERROR}};
    EXPECT_EQ(access.ReadDeviceBuffer(), 0u);
    access.ReadDeviceBuffer();
    EXPECT_EQ(reports, std::vector<LinkError>{
                           FailedCall("FT_Read", ft::IO_ERROR, LinkErrorKind::DeviceLost)});
    EXPECT_TRUE(access.DeviceLoss());
}

}  // namespace
