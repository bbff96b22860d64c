#include "link/D2xxAccess.h"

#include <algorithm>

#include "protocol/HexText.h"

namespace varkunda::link {
namespace {

// A list call hands back a C string of at most 64 characters.
constexpr std::size_t kListTextLimit = 64;
// The open call takes a NUL-terminated serial number of at most 49 characters.
constexpr std::size_t kOpenSerialLimit = 49;

std::string UpToNul(const std::string& text, std::size_t limit) {
    const std::size_t end = std::min(text.find('\0'), limit);
    return text.substr(0, end);
}

// What the driver answers on the handle of a device that has gone away.
bool MeansDeviceGone(FtStatus status) {
    return status == ft::IO_ERROR || status == ft::DEVICE_NOT_FOUND;
}

}  // namespace

D2xxAccess::D2xxAccess(D2xx& driver)
    : in_(std::make_unique<Buffer>()),
      out_(std::make_unique<Buffer>()),
      DeviceInBuffer(*in_),
      DeviceOutBuffer(*out_),
      driver_(driver) {}

LinkError D2xxAccess::Failure(const char* label, FtStatus status) const {
    LinkError error = driver_.lastFailure().value_or(LinkError{});
    error.driverStatus = status;
    error.call = label;
    return error;
}

FtStatus D2xxAccess::Checked(const char* label, FtStatus status) {
    if (status == ft::OK) return status;
    LastFailure = Failure(label, status);
    ReportDeviceError(*LastFailure);
    return status;
}

template <typename Call>
FtStatus D2xxAccess::OnOpenDevice(const char* label, Call call) {
    if (deviceLoss_) return deviceLoss_->driverStatus;
    const FtStatus status = call();
    if (status == ft::OK) return status;
    LinkError error = Failure(label, status);
    // A backend that knows why it failed has said so; otherwise the status tells.
    if (!driver_.lastFailure() && MeansDeviceGone(status)) error.kind = LinkErrorKind::DeviceLost;
    LastFailure = error;
    if (error.kind == LinkErrorKind::DeviceLost)
        DeviceLost(std::move(error));
    else
        ReportDeviceError(error);
    return status;
}

void D2xxAccess::DeviceLost(LinkError error) {
    if (lostHandler_) {
        deviceLoss_ = error;
        lostHandler_(error);
        return;
    }
    ReportDeviceError(error);
    deviceLoss_ = std::move(error);
}

FtStatus D2xxAccess::GetFTDeviceCount() {
    return Checked("GetFTDeviceCount", driver_.listDeviceCount(DeviceCount));
}

FtStatus D2xxAccess::GetFTDeviceSerialNo(std::uint32_t index) {
    std::string text;
    const FtStatus status = driver_.listSerialNumber(index, text);
    if (status == ft::OK) ListResult = UpToNul(text, kListTextLimit);
    return Checked("GetFTDeviceSerialNo", status);
}

FtStatus D2xxAccess::GetFTDeviceDescription(std::uint32_t index) {
    std::string text;
    const FtStatus status = driver_.listDescription(index, text);
    if (status == ft::OK) ListResult = UpToNul(text, kListTextLimit);
    return Checked("GetFTDeviceDescription", status);
}

FtStatus D2xxAccess::Open_USB_Device_By_Serial_Number(const std::string& serial) {
    const FtStatus status =
        driver_.openBySerialNumber(UpToNul(serial, kOpenSerialLimit), DeviceHandle);
    if (status == ft::OK) deviceLoss_.reset();
    return Checked("Open_USB_Device_By_Serial_Number", status);
}

FtStatus D2xxAccess::CloseDevice() { return Checked("FT_Close", driver_.close(DeviceHandle)); }

FtStatus D2xxAccess::SetDeviceBaudRate() {
    return OnOpenDevice("FT_SetBaudRate",
                        [&] { return driver_.setBaudRate(DeviceHandle, LineBaudRate); });
}

FtStatus D2xxAccess::SetDeviceDataCharacteristics() {
    return OnOpenDevice("FT_SetDataCharacteristics", [&] {
        return driver_.setDataCharacteristics(DeviceHandle, LineWordLength, LineStopBits,
                                              LineParity);
    });
}

FtStatus D2xxAccess::PurgeDeviceRX() {
    return OnOpenDevice("FT_Purge RX", [&] { return driver_.purge(DeviceHandle, ft::PURGE_RX); });
}

FtStatus D2xxAccess::PurgeDeviceTX() {
    return OnOpenDevice("FT_Purge TX", [&] { return driver_.purge(DeviceHandle, ft::PURGE_TX); });
}

FtStatus D2xxAccess::SetDeviceLatencyTimer(std::uint8_t milliseconds) {
    if (deviceLoss_) return deviceLoss_->driverStatus;
    return driver_.setLatencyTimer(DeviceHandle, milliseconds);
}

FtStatus D2xxAccess::GetDeviceQueueStatus() {
    return OnOpenDevice("FT_GetQueueStatus",
                        [&] { return driver_.getQueueStatus(DeviceHandle, DeviceQueueCount); });
}

std::uint32_t D2xxAccess::ReadDeviceBuffer(std::uint32_t /*count*/) {
    std::uint32_t bytesRead = 0;
    std::uint32_t toRead = 0;
    LastIOStatus = OnOpenDevice("FT_Read", [&] {
        // Takes exactly what is queued, so a read never waits; the query's own status
        // is not examined (a bad handle fails the read itself, which is reported).
        std::uint32_t queued = 0;
        if (driver_.getQueueStatus(DeviceHandle, queued) != ft::OK) queued = 0;
        toRead = static_cast<std::uint32_t>(std::min<std::size_t>(queued, kBufferSize));
        return driver_.read(DeviceHandle, DeviceInBuffer.data(), toRead, bytesRead);
    });
    if (LastIOStatus != ft::OK) return 0;
    return std::min(bytesRead, toRead);
}

std::uint32_t D2xxAccess::WriteDeviceBuffer(std::uint32_t n) {
    const auto toWrite = static_cast<std::uint32_t>(std::min<std::size_t>(n, kBufferSize));
    std::uint32_t written = 0;
    LastIOStatus = OnOpenDevice("FT_Write", [&] {
        return driver_.write(DeviceHandle, DeviceOutBuffer.data(), toWrite, written);
    });
    if (LastIOStatus != ft::OK) return 0;
    return std::min(written, toWrite);
}

void D2xxAccess::SetLineParameters(LineMode mode) {
    LineBaudRate = 115200;
    LineWordLength = ft::BITS_8;
    LineStopBits = ft::STOP_BITS_1;
    if (mode == LineMode::BootloaderLine) LineParity = ft::PARITY_EVEN;
    if (mode == LineMode::NormalLine) LineParity = ft::PARITY_NONE;
}

std::size_t D2xxAccess::ConvertToOutBuffer(std::string_view hexText) {
    return protocol::ConvertHexText(hexText, DeviceOutBuffer.data(), kBufferSize);
}

// A port the system refuses is shown even with reports off: only the player can mend it.
void D2xxAccess::ReportDeviceError(const LinkError& error) {
    if (deviceLoss_ || !reporter_) return;
    if (!ErrorReportsOn && error.kind != LinkErrorKind::PermissionDenied) return;
    reporter_(error);
}

}  // namespace varkunda::link
