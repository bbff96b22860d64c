#include "link/DeviceLink.h"

#include "protocol/HexText.h"

namespace varkunda::link {
namespace {

// Eight hex digits, sixteen for a handle that needs them.
std::string HandleText(FtHandle handle) {
    const auto value = static_cast<std::uint64_t>(handle);
    const auto low = protocol::HexWord32(static_cast<std::uint32_t>(value));
    if (value <= 0xFFFFFFFFu) return low;
    return protocol::HexWord32(static_cast<std::uint32_t>(value >> 32)) + low;
}

// A line left at other settings than the pedal's would garble every message: it is
// closed again and not linked.
std::optional<LinkError> ApplyLineSettings(D2xxAccess& access) {
    const bool applied =
        access.SetDeviceBaudRate() == ft::OK && access.SetDeviceDataCharacteristics() == ft::OK;
    if (applied) return std::nullopt;
    LinkError error = access.DeviceLoss().value_or(access.LastFailure.value_or(LinkError{}));
    if (error.kind != LinkErrorKind::DeviceLost) error.kind = LinkErrorKind::LineSettingsFailed;
    access.CloseDevice();
    return error;
}

// Short answers then reach the editor within a few milliseconds; a bridge that keeps
// its own timer only makes them slower.
void ShortenLatencyTimer(D2xxAccess& access, const LinkLog& log) {
    const FtStatus status = access.SetDeviceLatencyTimer(kEditorLatencyTimerMs);
    if (status != ft::OK)
        log.Print("Latency timer left as it was (FT_SetLatencyTimer status " +
                  std::to_string(status) + "): short answers may come later");
}

}  // namespace

std::vector<FoundDevice> ListDevices(D2xxAccess& access) {
    std::vector<FoundDevice> devices;
    if (access.GetFTDeviceCount() != ft::OK) return devices;
    for (std::uint32_t index = 0; index < access.DeviceCount; ++index) {
        FoundDevice device;
        device.serialStatus = access.GetFTDeviceSerialNo(index);
        if (device.serialStatus == ft::OK) device.serial = access.ListResult;
        device.descriptionStatus = access.GetFTDeviceDescription(index);
        if (device.descriptionStatus == ft::OK) device.description = access.ListResult;
        devices.push_back(std::move(device));
    }
    return devices;
}

LinkOpenResult OpenDeviceLink(Transport& transport, const std::string& serial,
                              bool bootloaderMode) {
    D2xxAccess& access = transport.access();
    const LinkLog& log = transport.log();
    LinkOpenResult result;
    log.Print("serial number: " + serial);
    if (access.Open_USB_Device_By_Serial_Number(serial) != ft::OK) {
        // A handshake on a device not open cannot succeed.
        result.error = access.LastFailure.value_or(LinkError{});
        return result;
    }
    result.error = ApplyLineSettings(access);
    if (result.error) return result;

    log.Print("FT_HANDLE: 0x" + HandleText(access.DeviceHandle));
    log.AppendDirect("baud rate = " + std::to_string(access.LineBaudRate));
    ShortenLatencyTimer(access, log);
    if (bootloaderMode) result.bootloaderAnswer = BootloaderHandshake(transport);
    return result;
}

std::string BootloaderHandshake(Transport& transport) {
    D2xxAccess& access = transport.access();
    access.SetLineParameters(LineMode::BootloaderLine);
    // A port that cannot carry parity (a pseudo-terminal) has refused it, reported by
    // the access layer; the sync byte reads the same at either parity, so it goes anyway.
    access.SetDeviceDataCharacteristics();
    std::string answer;
    if (transport.Send(protocol::HexByte(kBootloaderSync)).ok())
        answer = transport.ReadReplyText(true);
    transport.log().AppendDirect("received Byte: " + answer);
    return answer;
}

}  // namespace varkunda::link
