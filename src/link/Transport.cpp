#include "link/Transport.h"

#include <algorithm>

#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/ReplyDecoder.h"

namespace varkunda::link {
namespace {

// Unasked bytes worth no log line beyond their count: decimal or hexadecimal digits in
// lines, as the pedal writes its numbers.
bool IsNumberText(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) {
        return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'F') ||
               (byte >= 'a' && byte <= 'f') || byte == '\r' || byte == '\n';
    });
}

constexpr std::size_t kUnaskedLogLimit = 64;  // bytes shown of an unasked message

}  // namespace

Transport::Transport(D2xxAccess& access, LinkEnvironment& environment, LinkLog log)
    : access_(access), environment_(environment), log_(std::move(log)) {}

SendResult Transport::Send(std::string_view hexText, PurgeFirst purge) {
    SendResult result;
    result.bytesExpected = hexText.size() / 2;
    const auto refuse = [&](LinkErrorKind kind, std::size_t reached) {
        result.error =
            LinkError{.kind = kind, .reached = reached, .expected = result.bytesExpected};
        return result;
    };
    if (result.bytesExpected > D2xxAccess::kBufferSize)
        return refuse(LinkErrorKind::MessageTooLong, 0);
    const std::size_t converted =
        access_.ConvertToOutBuffer(hexText.substr(0, 2 * result.bytesExpected));
    if (converted < result.bytesExpected) return refuse(LinkErrorKind::NotHexadecimal, converted);
    if (result.bytesExpected == 0) return result;

    if (purge == PurgeFirst::Yes) {
        const auto wait = lastWriteGoneAt_ - environment_.now();
        if (wait > std::chrono::milliseconds(0) && !access_.DeviceLoss()) environment_.sleep(wait);
        access_.PurgeDeviceTX();
    }
    if (access_.DeviceLoss()) {
        result.error = access_.DeviceLoss();
        return result;
    }
    result.bytesWritten =
        access_.WriteDeviceBuffer(static_cast<std::uint32_t>(result.bytesExpected));
    lastWriteGoneAt_ = environment_.now() + LineTime(result.bytesWritten) + kTransmitSettle;
    if (access_.LastIOStatus != ft::OK) {
        result.error = access_.LastFailure.value_or(LinkError{});
        if (result.error->kind != LinkErrorKind::DeviceLost)
            result.error->kind = LinkErrorKind::WriteFailed;
    } else if (result.bytesWritten < result.bytesExpected) {
        refuse(LinkErrorKind::WriteIncomplete, result.bytesWritten);
    }
    return result;
}

std::optional<LinkError> Transport::WaitForFirstByte(std::chrono::milliseconds limit) {
    const auto start = environment_.now();
    for (;;) {
        environment_.processEvents();
        if (access_.GetDeviceQueueStatus() != ft::OK) {
            LinkError error =
                access_.DeviceLoss().value_or(access_.LastFailure.value_or(LinkError{}));
            error.kind = LinkErrorKind::ReadFailed;
            return error;
        }
        if (access_.DeviceQueueCount > 0) return std::nullopt;
        if (environment_.now() - start >= limit) return LinkError{.kind = LinkErrorKind::NoReply};
        environment_.sleep(kFirstBytePollInterval);
    }
}

// Every read fills DeviceInBuffer from offset 0; each is appended here at once, so the
// reply is exactly the bytes received, in arrival order.
std::vector<std::uint8_t> Transport::Drain(std::size_t expectedLines,
                                           std::chrono::milliseconds quietGap,
                                           bool pauseBetweenReads, const ReadHandler& onRead) {
    std::vector<std::uint8_t> reply;
    const auto start = environment_.now();
    auto lastBytesAt = start;
    for (;;) {
        environment_.processEvents();
        const std::uint32_t n = access_.ReadDeviceBuffer();
        const auto now = environment_.now();
        if (n > 0) {
            if (onRead) onRead(std::span<const std::uint8_t>(access_.DeviceInBuffer.data(), n));
            reply.insert(reply.end(), access_.DeviceInBuffer.begin(),
                         access_.DeviceInBuffer.begin() + n);
            lastBytesAt = now;
            if (expectedLines > 0 && protocol::CountReplyLines(reply) >= expectedLines) break;
        } else if (now - lastBytesAt >= quietGap) {
            break;
        }
        if (now - start >= kReplyTimeLimit || access_.DeviceLoss()) break;
        if (pauseBetweenReads) environment_.sleep(kDrainPollInterval);
    }
    return reply;
}

ReplyResult Transport::ReadReply(std::size_t expectedLines,
                                 std::chrono::milliseconds firstByteTimeout) {
    ReplyResult result;
    result.error = WaitForFirstByte(firstByteTimeout);
    if (result.error) return result;
    access_.PurgeDeviceTX();
    const std::vector<std::uint8_t> reply = Drain(expectedLines, kReplyQuietGap, true);
    if (access_.DeviceLoss()) {
        result.error = access_.DeviceLoss();
        result.error->kind = LinkErrorKind::ReadFailed;
        return result;
    }

    result.bytesReceived = reply.size();
    result.numbers = protocol::DecodeReplyNumbers(reply);
    if (!result.numbers.empty()) received_bytes_array_ = result.numbers;
    LogDecodedReply(result.numbers.size());
    access_.PurgeDeviceRX();
    return result;
}

void Transport::LogDecodedReply(std::size_t count) {
    log_.Print("num of bytes received: " + std::to_string(count));
    log_.Print("received_bytes_array size: " + std::to_string(received_bytes_array_.size()));
    std::vector<std::string> lines;
    lines.reserve(received_bytes_array_.size());
    for (std::size_t k = 0; k < received_bytes_array_.size(); ++k)
        lines.push_back(std::to_string(k) + ":    " + protocol::HexByte(received_bytes_array_[k]));
    if (!lines.empty()) log_.PrintLines(lines);
}

std::string Transport::ReadReplyText(bool bootloaderMode,
                                     std::chrono::milliseconds firstByteTimeout) {
    if (WaitForFirstByte(firstByteTimeout)) return {};
    // The bootloader answers single bytes: take what is there at once, no pauses.
    const std::vector<std::uint8_t> reply = bootloaderMode
                                                ? Drain(0, std::chrono::milliseconds(0), false)
                                                : Drain(0, kTextQuietGap, true);
    if (access_.DeviceLoss()) return {};
    log_.Print("num of bytes received: " + std::to_string(reply.size()));
    access_.PurgeDeviceRX();
    if (bootloaderMode) return reply.empty() ? std::string() : protocol::HexByte(reply.front());
    return std::string(reply.begin(), reply.end());
}

std::optional<LinkError> Transport::ReadAnswer(std::chrono::milliseconds firstByteTimeout,
                                               const ReadHandler& onRead) {
    if (auto error = WaitForFirstByte(firstByteTimeout)) return error;
    Drain(0, kTextQuietGap, true, onRead);
    if (!access_.DeviceLoss()) return std::nullopt;
    LinkError error = *access_.DeviceLoss();
    error.kind = LinkErrorKind::ReadFailed;
    return error;
}

void Transport::PollDeviceInput() {
    const bool reportsBefore = access_.ErrorReportsOn;
    access_.ErrorReportsOn = false;
    if (access_.GetDeviceQueueStatus() == ft::OK && access_.DeviceQueueCount > 0) {
        const std::uint32_t n = access_.ReadDeviceBuffer();
        if (n > 0) {
            log_.Print("num of bytes read: " + std::to_string(n));
            TakeUnaskedBytes(std::span<const std::uint8_t>(access_.DeviceInBuffer.data(), n));
        }
    }
    if (dumpPending_ && environment_.now() - dumpLastBytesAt_ >= kEepromDumpStallLimit)
        FinishEepromDump();
    access_.ErrorReportsOn = reportsBefore;
}

// How long `bytes` take on the line as it is set: a start bit, eight data bits, the
// parity bit when there is one and a stop bit each, rounded up to whole milliseconds.
std::chrono::milliseconds Transport::LineTime(std::uint32_t bytes) const {
    if (access_.LineBaudRate == 0) return {};
    const std::uint64_t bitsPerByte = access_.LineParity == ft::PARITY_NONE ? 10 : 11;
    const std::uint64_t bitsTimesThousand = std::uint64_t{bytes} * bitsPerByte * 1000;
    return std::chrono::milliseconds((bitsTimesThousand + access_.LineBaudRate - 1) /
                                     access_.LineBaudRate);
}

void Transport::TakeUnaskedBytes(std::span<const std::uint8_t> bytes) {
    // A dump may be spread over several ticks, and one read may end one dump and hold the
    // next whole or in part: each marker outside a dump starts one.
    while (!bytes.empty() && (dumpPending_ || bytes.front() == protocol::kEepromDumpMarker)) {
        if (!dumpPending_) {
            dumpPending_ = true;
            dumpBytes_.clear();
            dumpBytes_.reserve(protocol::kEepromSize);
            bytes = bytes.subspan(1);
            dumpLastBytesAt_ = environment_.now();
        }
        const std::size_t take = std::min(bytes.size(), protocol::kEepromSize - dumpBytes_.size());
        dumpBytes_.insert(dumpBytes_.end(), bytes.begin(), bytes.begin() + take);
        if (take > 0) dumpLastBytesAt_ = environment_.now();
        if (dumpBytes_.size() == protocol::kEepromSize) FinishEepromDump();
        bytes = bytes.subspan(take);
    }
    if (bytes.empty() || IsNumberText(bytes)) return;
    const auto shown = bytes.first(std::min(bytes.size(), kUnaskedLogLimit));
    log_.Print("unasked bytes not understood: " + protocol::BytesToHexText(shown) +
               (shown.size() < bytes.size() ? "..." : ""));
}

void Transport::FinishEepromDump() {
    log_.PrintLines(EepromDumpLines(dumpBytes_));
    if (dumpBytes_.size() < protocol::kEepromSize)
        log_.Print(EepromDumpIncompleteLine(dumpBytes_.size()));
    dumpPending_ = false;
    dumpBytes_.clear();
}

std::vector<std::string> EepromDumpLines(std::span<const std::uint8_t> contents) {
    std::vector<std::string> lines;
    lines.reserve(contents.size());
    for (std::size_t i = 0; i < contents.size(); ++i)
        lines.push_back(std::to_string(i) + ": " + protocol::HexByte(contents[i]));
    return lines;
}

std::string EepromDumpIncompleteLine(std::size_t bytesReceived) {
    return "EEPROM dump incomplete: " + std::to_string(bytesReceived) + " of " +
           std::to_string(protocol::kEepromSize) + " bytes received";
}

}  // namespace varkunda::link
