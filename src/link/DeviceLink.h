#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/Transport.h"

namespace varkunda::link {

// The synchronisation byte of the pedal's ROM bootloader and its acknowledgement.
inline constexpr std::uint8_t kBootloaderSync = 0x7F;
inline constexpr const char* kBootloaderAckText = "79";

// The bridge's latency timer while the editor holds the device. The bridge sends fewer
// than a packet of received bytes only when this runs out (16 ms unless set), and most
// answers are short: a bootloader upgrade waits for some 900 one-byte acknowledgements.
// 2 ms is the shortest value every generation of the bridge takes; longer answers are
// not held back at all, since 62 bytes take 5.4 ms on the wire.
inline constexpr std::uint8_t kEditorLatencyTimerMs = 2;

// One FTDI device as the list calls gave it.
struct FoundDevice {
    std::string serial;
    std::string description;
    FtStatus serialStatus = ft::OK;  // a failed list call leaves the text empty
    FtStatus descriptionStatus = ft::OK;
};

// GetFTDeviceCount, then the serial number and description of every index in order.
// Failed calls are reported by the access layer as usual; their entries carry the
// status and an empty text, never the text of an earlier device.
std::vector<FoundDevice> ListDevices(D2xxAccess& access);

struct LinkOpenResult {
    // Why the device is not linked: the open failed (as the access layer reported it), or
    // the line settings could not be applied (LineSettingsFailed) and it was closed again.
    std::optional<LinkError> error;
    // In bootloader mode, after a successful open: the first byte answered to 0x7F as two
    // hex digits, or empty when none came.
    std::optional<std::string> bootloaderAnswer;
    bool opened() const { return !error; }
    bool bootloaderConnected() const { return bootloaderAnswer == kBootloaderAckText; }
};

// Opens the device, applies the line settings as they stand, sets the bridge's latency
// timer to kEditorLatencyTimerMs and logs as the link does ("serial number: ",
// "FT_HANDLE: 0x...", "baud rate = " appended without scrolling). A bridge that keeps
// its own latency timer still links; the log says so.
// In bootloader mode, after a successful open, also runs the bootloader handshake.
// The window shows the outcome.
LinkOpenResult OpenDeviceLink(Transport& transport, const std::string& serial, bool bootloaderMode);

// Switches the open line to the bootloader's even parity, sends 0x7F and returns the
// first byte answered as two hex digits ("79" is an acknowledgement), or empty when
// none came. A parity the port refused is reported and the sync sent all the same. Appends
// "received Byte: " and the answer to the log without scrolling.
std::string BootloaderHandshake(Transport& transport);

}  // namespace varkunda::link
