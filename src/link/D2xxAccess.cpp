#include "link/D2xxAccess.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "protocol/HexText.h"

namespace varkunda::link {
namespace {

// The driver's status texts, indexed by status; 8 and 9 have no hyphen and 17 has a
// blank before its dots, exactly as the editor has always shown them.
constexpr std::array<std::string_view, 18> kStatusTexts = {
    "",
    " - Invalid handle...",
    " - Device not found...",
    " - Device not opened...",
    " - General IO error...",
    " - Insufficient resources...",
    " - Invalid parameter...",
    " - Invalid baud rate...",
    " Device not opened for erase...",
    " Device not opened for write...",
    " - Failed to write...",
    " - EEPROM read failed...",
    " - EEPROM write failed...",
    " - EEPROM erase failed...",
    " - EEPROM not present...",
    " - EEPROM not programmed...",
    " - Invalid arguments...",
    " - Other error ...",
};

// A list call hands back a C string of at most 64 characters.
constexpr std::size_t kListTextLimit = 64;
// The open call takes a NUL-terminated serial number of at most 49 characters.
constexpr std::size_t kOpenSerialLimit = 49;

std::string UpToNul(const std::string& text, std::size_t limit) {
    const std::size_t end = std::min(text.find('\0'), limit);
    return text.substr(0, end);
}

}  // namespace

D2xxAccess::D2xxAccess(D2xx& driver)
    : in_(std::make_unique<Buffer>()),
      out_(std::make_unique<Buffer>()),
      DeviceInBuffer(*in_),
      DeviceOutBuffer(*out_),
      driver_(driver) {}

FtStatus D2xxAccess::GetFTDeviceCount() {
    const FtStatus status = driver_.listDeviceCount(DeviceCount);
    ReportDeviceError("GetFTDeviceCount", status);
    return status;
}

FtStatus D2xxAccess::GetFTDeviceSerialNo(std::uint32_t index) {
    std::string text;
    const FtStatus status = driver_.listSerialNumber(index, text);
    if (status == ft::OK) ListResult = UpToNul(text, kListTextLimit);
    ReportDeviceError("GetFTDeviceSerialNo", status);
    return status;
}

FtStatus D2xxAccess::GetFTDeviceDescription(std::uint32_t index) {
    std::string text;
    const FtStatus status = driver_.listDescription(index, text);
    if (status == ft::OK) ListResult = UpToNul(text, kListTextLimit);
    ReportDeviceError("GetFTDeviceDescription", status);
    return status;
}

FtStatus D2xxAccess::Open_USB_Device_By_Serial_Number(const std::string& serial) {
    const FtStatus status =
        driver_.openBySerialNumber(UpToNul(serial, kOpenSerialLimit), DeviceHandle);
    ReportDeviceError("Open_USB_Device_By_Serial_Number", status);
    return status;
}

FtStatus D2xxAccess::CloseDevice() {
    const FtStatus status = driver_.close(DeviceHandle);
    ReportDeviceError("FT_Close", status);
    return status;
}

FtStatus D2xxAccess::SetDeviceBaudRate() {
    const FtStatus status = driver_.setBaudRate(DeviceHandle, LineBaudRate);
    ReportDeviceError("FT_SetBaudRate", status);
    return status;
}

FtStatus D2xxAccess::SetDeviceDataCharacteristics() {
    const FtStatus status =
        driver_.setDataCharacteristics(DeviceHandle, LineWordLength, LineStopBits, LineParity);
    ReportDeviceError("FT_SetDataCharacteristics", status);
    return status;
}

FtStatus D2xxAccess::PurgeDeviceRX() {
    const FtStatus status = driver_.purge(DeviceHandle, ft::PURGE_RX);
    ReportDeviceError("FT_Purge RX", status);
    return status;
}

FtStatus D2xxAccess::PurgeDeviceTX() {
    const FtStatus status = driver_.purge(DeviceHandle, ft::PURGE_TX);
    ReportDeviceError("FT_Purge TX", status);
    return status;
}

FtStatus D2xxAccess::GetDeviceQueueStatus() {
    const FtStatus status = driver_.getQueueStatus(DeviceHandle, DeviceQueueCount);
    ReportDeviceError("FT_GetQueueStatus", status);
    return status;
}

std::uint32_t D2xxAccess::ReadDeviceBuffer(std::uint32_t /*count*/) {
    // Takes exactly what is queued, so a read never waits; the query's own status is
    // not examined (a bad handle fails the read itself, which is reported).
    std::uint32_t queued = 0;
    if (driver_.getQueueStatus(DeviceHandle, queued) != ft::OK) queued = 0;
    const auto toRead = static_cast<std::uint32_t>(std::min<std::size_t>(queued, kBufferSize));

    std::uint32_t bytesRead = 0;
    LastIOStatus = driver_.read(DeviceHandle, DeviceInBuffer.data(), toRead, bytesRead);
    ReportDeviceError("FT_Read", LastIOStatus);
    if (LastIOStatus != ft::OK) return 0;
    return std::min(bytesRead, toRead);
}

std::uint32_t D2xxAccess::WriteDeviceBuffer(std::uint32_t n) {
    const auto toWrite = static_cast<std::uint32_t>(std::min<std::size_t>(n, kBufferSize));
    std::uint32_t written = 0;
    LastIOStatus = driver_.write(DeviceHandle, DeviceOutBuffer.data(), toWrite, written);
    ReportDeviceError("FT_Write", LastIOStatus);
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

void D2xxAccess::ReportDeviceError(const std::string& label, FtStatus status) {
    if (!ErrorReportsOn || status == ft::OK || !reporter_) return;
    reporter_(label + StatusText(status));
}

std::string D2xxAccess::StatusText(FtStatus status) {
    if (status < kStatusTexts.size()) return std::string(kStatusTexts[status]);
    return " - Unknown error (status " + std::to_string(status) + ")...";
}

}  // namespace varkunda::link
