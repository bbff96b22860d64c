#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/D2xx.h"
#include "link/LinkError.h"

namespace varkunda::link {

// Line modes; the values are the driver's parity codes they select.
enum class LineMode : std::uint8_t { NormalLine = 0, BootloaderLine = 2 };

// The editor's one device: the handle, the two 64 KB transfer buffers, the line
// settings and the error reporter. Each wrapper is one driver call, an optional report
// and a result; nothing here knows the pedal's protocol.
//
// A device that goes away while open (a call on its handle answers that it is gone) is
// handed to the device-lost handler once, whether reports are on or not. From then on
// until the next successful open nothing more is reported and the calls on the handle
// fail at once without reaching the driver, so the player hears of it once and no
// operation waits for a device that is not there. Closing still reaches the driver.
class D2xxAccess {
    // Declared first: the buffer references below are bound to them.
    std::unique_ptr<std::array<std::uint8_t, 65536>> in_;
    std::unique_ptr<std::array<std::uint8_t, 65536>> out_;

  public:
    static constexpr std::size_t kBufferSize = 65536;
    using Buffer = std::array<std::uint8_t, kBufferSize>;
    // Shows a failed call to the user (a message box in the editor).
    using ErrorReporter = std::function<void(const LinkError& error)>;
    using DeviceLostHandler = std::function<void(const LinkError& error)>;

    explicit D2xxAccess(D2xx& driver);

    D2xx& driver() { return driver_; }
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
    // Without a handler a lost device is reported like any other failure, once.
    void setDeviceLostHandler(DeviceLostHandler handler) { lostHandler_ = std::move(handler); }

    FtStatus GetFTDeviceCount();
    FtStatus GetFTDeviceSerialNo(std::uint32_t index);
    FtStatus GetFTDeviceDescription(std::uint32_t index);
    FtStatus Open_USB_Device_By_Serial_Number(const std::string& serial);
    FtStatus CloseDevice();
    FtStatus SetDeviceBaudRate();
    FtStatus SetDeviceDataCharacteristics();
    FtStatus PurgeDeviceRX();
    FtStatus PurgeDeviceTX();
    // Sets the bridge's latency timer. A bridge that keeps its own is no failure of the
    // line, so nothing is reported: the status tells the caller.
    FtStatus SetDeviceLatencyTimer(std::uint8_t milliseconds);
    FtStatus GetDeviceQueueStatus();
    // Reads what is queued (at most one buffer) into DeviceInBuffer from offset 0;
    // a failed read counts as 0 bytes.
    std::uint32_t ReadDeviceBuffer(std::uint32_t count = kBufferSize);
    // Writes the first n bytes of DeviceOutBuffer. Only the transport's send path calls it.
    std::uint32_t WriteDeviceBuffer(std::uint32_t n);

    void SetLineParameters(LineMode mode);
    // Converts message text of hex digit pairs into the start of DeviceOutBuffer;
    // returns the bytes converted (it stops at the first pair that is not hex). Only the
    // transport's send path calls it.
    std::size_t ConvertToOutBuffer(std::string_view hexText);

    // Set while the device opened last is gone: why it went (the call that found out).
    const std::optional<LinkError>& DeviceLoss() const { return deviceLoss_; }

    FtHandle DeviceHandle = 0;
    bool ErrorReportsOn = true;
    FtStatus LastIOStatus = 0;
    std::uint32_t DeviceQueueCount = 0;
    std::uint32_t DeviceCount = 0;
    std::string ListResult;
    std::uint32_t LineBaudRate = 0;
    std::uint8_t LineWordLength = 0;
    std::uint8_t LineStopBits = 0;
    std::uint8_t LineParity = 0;
    Buffer& DeviceInBuffer;
    Buffer& DeviceOutBuffer;
    // The failure of the latest call that failed, as reported.
    std::optional<LinkError> LastFailure;

  private:
    // A call that needs no open device (list, open, close).
    FtStatus Checked(const char* label, FtStatus status);
    // A call on the open device's handle; skipped while the device is lost.
    template <typename Call>
    FtStatus OnOpenDevice(const char* label, Call call);
    LinkError Failure(const char* label, FtStatus status) const;
    void ReportDeviceError(const LinkError& error);
    void DeviceLost(LinkError error);

    D2xx& driver_;
    ErrorReporter reporter_;
    DeviceLostHandler lostHandler_;
    std::optional<LinkError> deviceLoss_;
};

}  // namespace varkunda::link
