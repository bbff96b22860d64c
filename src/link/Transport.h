#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/D2xxAccess.h"
#include "link/LinkEnvironment.h"
#include "link/LinkError.h"
#include "link/LinkLog.h"

namespace varkunda::link {

// Time limits of the waits for the pedal. Each is long enough never to fire with a
// working pedal; when one does, the wait ends and the caller says why.
inline constexpr std::chrono::milliseconds kFirstByteTimeout{2000};  // after the request's pause
inline constexpr std::chrono::milliseconds kReplyQuietGap{50};       // line quiet: reply complete
inline constexpr std::chrono::milliseconds kTextQuietGap{100};       // the same for text replies
// The whole drain, from the first byte.
inline constexpr std::chrono::milliseconds kReplyTimeLimit{3000};
// An algorithm upload is answered once the pedal has installed it.
inline constexpr std::chrono::milliseconds kUploadAnswerTimeout{15000};
inline constexpr std::chrono::milliseconds kFirstBytePollInterval{1};
inline constexpr std::chrono::milliseconds kDrainPollInterval{5};
// A dump that stops arriving for this long is logged as far as it came.
inline constexpr std::chrono::milliseconds kEepromDumpStallLimit{1000};

// Whether the send path purges the driver's transmit queue before it writes.
enum class PurgeFirst : bool { No, Yes };

// A purge of the transmit queue drops what has not yet left the host: bytes written less
// than their line time plus this before it get that long to go out first,
// so a message sent just before (a dial move flushed before a status request) is not lost.
inline constexpr std::chrono::milliseconds kTransmitSettle{20};

struct SendResult {
    std::size_t bytesExpected = 0;  // half the text's length
    std::uint32_t bytesWritten = 0;
    std::optional<LinkError> error;  // why nothing or not all was sent
    bool ok() const { return !error; }
};

struct ReplyResult {
    std::optional<LinkError> error;     // ReadFailed or NoReply; empty when bytes came
    std::vector<std::uint8_t> numbers;  // decoded from this reply's bytes only
    std::size_t bytesReceived = 0;
    bool received() const { return !error; }
};

// How bytes travel between the editor and the pedal: sending converted hex text,
// waiting for a reply with a time limit, draining and decoding it, and taking in what
// the pedal sends unasked. One instance per device, used from the UI thread only.
class Transport {
  public:
    Transport(D2xxAccess& access, LinkEnvironment& environment, LinkLog log);

    D2xxAccess& access() { return access_; }
    LinkEnvironment& environment() { return environment_; }
    const LinkLog& log() const { return log_; }

    // The one way a message leaves for the pedal: hex text -> DeviceOutBuffer ->
    // PurgeDeviceTX when asked -> WriteDeviceBuffer(n). Text that is not hexadecimal
    // throughout, or longer than the out buffer, is refused and nothing is written (no
    // stale buffer bytes reach the pedal); so is every message once the device is lost.
    SendResult Send(std::string_view hexText, PurgeFirst purge = PurgeFirst::No);

    // Waits for a reply of decimal lines, drains every read in arrival order and
    // decodes it. The drain ends when `expectedLines` lines have arrived (0: unknown),
    // the line stays quiet for kReplyQuietGap, or kReplyTimeLimit passes; a lost device
    // ends the wait and the drain at once. Logs the decoded numbers; replaces
    // received_bytes_array only when numbers came.
    ReplyResult ReadReply(std::size_t expectedLines = 0,
                          std::chrono::milliseconds firstByteTimeout = kFirstByteTimeout);

    // Waits for a reply and returns it as text: in bootloader mode the first byte
    // received as two upper-case hex digits ("79" for an acknowledgement), otherwise
    // the bytes received as they are. Empty when nothing arrived or the queue failed.
    std::string ReadReplyText(bool bootloaderMode,
                              std::chrono::milliseconds firstByteTimeout = kFirstByteTimeout);

    // Waits for the pedal's answer to an upload and hands over each non-empty read as it
    // comes, its own bytes only. Ends when the line has been quiet for kTextQuietGap (or
    // after kReplyTimeLimit). Nothing is purged.
    using ReadHandler = std::function<void(std::span<const std::uint8_t> bytes)>;
    std::optional<LinkError> ReadAnswer(std::chrono::milliseconds firstByteTimeout,
                                        const ReadHandler& onRead);

    // The work of the 50 ms reply timer: takes in what the pedal sent unasked, without
    // ever showing a message box, and leaves ErrorReportsOn as it found it.
    void PollDeviceInput();

    // The numbers of the last reply that held any.
    const std::vector<std::uint8_t>& received_bytes_array() const { return received_bytes_array_; }

  private:
    // Nothing when bytes are waiting; otherwise why the wait gave up.
    std::optional<LinkError> WaitForFirstByte(std::chrono::milliseconds limit);
    std::vector<std::uint8_t> Drain(std::size_t expectedLines, std::chrono::milliseconds quietGap,
                                    bool pauseBetweenReads, const ReadHandler& onRead = {});
    void LogDecodedReply(std::size_t count);
    void TakeUnaskedBytes(std::span<const std::uint8_t> bytes);
    void FinishEepromDump();
    std::chrono::milliseconds LineTime(std::uint32_t bytes) const;

    D2xxAccess& access_;
    LinkEnvironment& environment_;
    LinkLog log_;
    std::vector<std::uint8_t> received_bytes_array_;
    std::chrono::milliseconds lastWriteGoneAt_{0};  // when the last write has left the host

    bool dumpPending_ = false;
    std::vector<std::uint8_t> dumpBytes_;
    std::chrono::milliseconds dumpLastBytesAt_{0};
};

// The console lines of an EEPROM dump: "i: HH" for every byte received.
std::vector<std::string> EepromDumpLines(std::span<const std::uint8_t> contents);
// The line that ends a dump cut short: "EEPROM dump incomplete: N of 16384 bytes received".
std::string EepromDumpIncompleteLine(std::size_t bytesReceived);

}  // namespace varkunda::link
