#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "link/D2xx.h"

namespace varkunda::link {

// Line modes; the values are the driver's parity codes they select.
enum class LineMode : std::uint8_t { NormalLine = 0, BootloaderLine = 2 };

// The editor's one device: the handle, the two 64 KB transfer buffers, the line
// settings and the error reporter. Each wrapper is one driver call, an optional report
// and a result; nothing here knows the pedal's protocol.
class D2xxAccess {
    // Declared first: the buffer references below are bound to them.
    std::unique_ptr<std::array<std::uint8_t, 65536>> in_;
    std::unique_ptr<std::array<std::uint8_t, 65536>> out_;

public:
    static constexpr std::size_t kBufferSize = 65536;
    using Buffer = std::array<std::uint8_t, kBufferSize>;
    using ErrorReporter = std::function<void(const std::string& text)>;

    explicit D2xxAccess(D2xx& driver);

    D2xx& driver() { return driver_; }
    // Shows a failed call to the user (a message box in the editor).
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

    FtStatus GetFTDeviceCount();
    FtStatus GetFTDeviceSerialNo(std::uint32_t index);
    FtStatus GetFTDeviceDescription(std::uint32_t index);
    FtStatus Open_USB_Device_By_Serial_Number(const std::string& serial);
    FtStatus CloseDevice();
    FtStatus SetDeviceBaudRate();
    FtStatus SetDeviceDataCharacteristics();
    FtStatus PurgeDeviceRX();
    FtStatus PurgeDeviceTX();
    FtStatus GetDeviceQueueStatus();
    // Reads what is queued (at most one buffer) into DeviceInBuffer from offset 0;
    // a failed read counts as 0 bytes.
    std::uint32_t ReadDeviceBuffer(std::uint32_t count = kBufferSize);
    // Writes the first n bytes of DeviceOutBuffer.
    std::uint32_t WriteDeviceBuffer(std::uint32_t n);

    void SetLineParameters(LineMode mode);
    // Converts message text of hex digit pairs into the start of DeviceOutBuffer;
    // returns the bytes converted (it stops at the first pair that is not hex).
    std::size_t ConvertToOutBuffer(std::string_view hexText);

    void ReportDeviceError(const std::string& label, FtStatus status);
    static std::string StatusText(FtStatus status);

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

private:
    D2xx& driver_;
    ErrorReporter reporter_;
};

}  // namespace varkunda::link
