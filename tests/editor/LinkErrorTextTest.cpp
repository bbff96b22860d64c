// The link's failures in the editor's words.
#include <gtest/gtest.h>

#include "frontend/LinkErrorText.h"

using varkunda::link::FtStatus;
using varkunda::link::LinkError;
using varkunda::link::LinkErrorKind;

namespace {

LinkError Error(LinkErrorKind kind) {
    LinkError error;
    error.kind = kind;
    return error;
}

LinkError FailedCall(const char* call, FtStatus status,
                     LinkErrorKind kind = LinkErrorKind::DriverCall) {
    LinkError error = Error(kind);
    error.call = call;
    error.driverStatus = status;
    return error;
}

struct StatusTextCase {
    FtStatus status;
    const char* text;
};

class StatusText : public ::testing::TestWithParam<StatusTextCase> {};

// A failed call shows its label directly followed by the status text.
TEST_P(StatusText, FollowsTheLabelDirectly) {
    EXPECT_EQ(DriverStatusText(GetParam().status), GetParam().text);
    EXPECT_EQ(LinkErrorText(FailedCall("FT_Close", GetParam().status)),
              QStringLiteral("FT_Close") + GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(AllStatuses, StatusText,
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

struct KindCase {
    const char* name;
    LinkError error;
    const char* text;
};

LinkError WithCounts(LinkErrorKind kind, std::size_t reached, std::size_t expected) {
    LinkError error = Error(kind);
    error.reached = reached;
    error.expected = expected;
    return error;
}

LinkError WithDetail(LinkError error, const char* device, const char* detail) {
    error.device = device;
    error.detail = detail;
    return error;
}

class KindText : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindText, SaysWhatHappened) { EXPECT_EQ(LinkErrorText(GetParam().error), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindText,
    ::testing::Values(
        KindCase{"NotHexadecimal", WithCounts(LinkErrorKind::NotHexadecimal, 1, 3),
                 "The message text is not hexadecimal at byte 1; nothing was sent."},
        KindCase{"MessageTooLong", WithCounts(LinkErrorKind::MessageTooLong, 0, 65537),
                 "The message is longer than the 65536-byte transfer buffer; nothing was sent."},
        KindCase{"WriteFailed", FailedCall("FT_Write", 2, LinkErrorKind::WriteFailed),
                 "The message could not be written to the pedal: - Device not found..."},
        KindCase{"WriteIncomplete", WithCounts(LinkErrorKind::WriteIncomplete, 4, 8),
                 "Only 4 of 8 bytes reached the pedal."},
        KindCase{"RequestNotSent", Error(LinkErrorKind::RequestNotSent),
                 "The status request could not be sent to the pedal."},
        KindCase{"ReadFailed", Error(LinkErrorKind::ReadFailed),
                 "The pedal could not be read: the device is not open or was unplugged."},
        KindCase{"NoReply", Error(LinkErrorKind::NoReply),
                 "The pedal did not answer the status request in time."},
        KindCase{"IncompleteReply", WithCounts(LinkErrorKind::IncompleteReply, 40, 102),
                 "The pedal's status reply was incomplete (40 of 102 numbers)."},
        KindCase{"UnreadableReply", Error(LinkErrorKind::UnreadableReply),
                 "The pedal's status reply could not be read."},
        KindCase{"DriverCallWithThePortsWords",
                 WithDetail(FailedCall("FT_SetBaudRate", 4), "/dev/ttyUSB0", "Input/output error"),
                 "FT_SetBaudRate - General IO error... (Input/output error)"},
        KindCase{"DeviceLost", FailedCall("FT_Write", 4, LinkErrorKind::DeviceLost),
                 "The device is no longer connected: FT_Write - General IO error..."},
        KindCase{"LineSettingsFailed",
                 FailedCall("FT_SetBaudRate", 7, LinkErrorKind::LineSettingsFailed),
                 "The line settings could not be applied (FT_SetBaudRate - Invalid baud "
                 "rate...); the device was closed and is not linked."},
        KindCase{
            "UnknownDeviceChoice", WithDetail(Error(LinkErrorKind::UnknownDeviceChoice), "", "usb"),
            "Unknown device choice \"usb\": use sim, sim:N, serial, serial:PORT, d2xx or auto."},
        KindCase{"DeviceChoiceMissing", Error(LinkErrorKind::DeviceChoiceMissing),
                 "The option --device needs a value: sim, sim:N, serial, serial:PORT, d2xx or "
                 "auto."},
        KindCase{"LibraryNotLoaded",
                 WithDetail(Error(LinkErrorKind::LibraryNotLoaded), "", "file not found"),
                 "The FTDI D2XX library could not be loaded: file not found"},
        KindCase{"LibraryIncomplete",
                 WithDetail(FailedCall("FT_Read, FT_Write", 0, LinkErrorKind::LibraryIncomplete),
                            "/opt/libftd2xx.so", ""),
                 "The FTDI D2XX library could not be loaded: /opt/libftd2xx.so lacks FT_Read, "
                 "FT_Write."}),
    [](const auto& info) { return std::string(info.param.name); });

#ifdef Q_OS_LINUX
TEST(LinkErrorText, ADeniedPortSaysWhatToDo) {
    const LinkError denied = WithDetail(
        FailedCall("Open_USB_Device_By_Serial_Number", 3, LinkErrorKind::PermissionDenied),
        "/dev/ttyUSB0", "Permission denied");
    EXPECT_EQ(LinkErrorText(denied),
              "Permission denied opening /dev/ttyUSB0: add yourself to the dialout group (sudo "
              "usermod -aG dialout $USER) and log in again.");
}
#endif

}  // namespace
