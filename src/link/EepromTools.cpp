#include "link/EepromTools.h"

#include <algorithm>
#include <span>
#include <string>

#include "protocol/HexText.h"
#include "protocol/Messages.h"

namespace varkunda::link {
namespace {

constexpr std::size_t kForeignAnswerShown = 16;  // bytes logged of an answer that is no dump

SendResult NotAnAddress(std::string_view busAddress) {
    SendResult refused;
    refused.error = LinkError{.kind = LinkErrorKind::NotAnEepromAddress,
                              .device = std::string(busAddress)};
    return refused;
}

// Reads until `limit` bytes have arrived or the time limit passes: nothing when all came,
// NoReply (with how far it came) or ReadFailed otherwise.
std::optional<LinkError> TakeAnswer(Transport& transport, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    D2xxAccess& access = transport.access();
    LinkEnvironment& environment = transport.environment();
    const auto start = environment.now();
    for (;;) {
        environment.processEvents();
        if (access.GetDeviceQueueStatus() != ft::OK)
            return LinkError{.kind = LinkErrorKind::ReadFailed,
                             .driverStatus = access.LastIOStatus,
                             .reached = bytes.size(),
                             .expected = limit};
        if (access.DeviceQueueCount > 0) {
            const std::uint32_t n = access.ReadDeviceBuffer();
            const std::size_t take = std::min<std::size_t>(n, limit - bytes.size());
            bytes.insert(bytes.end(), access.DeviceInBuffer.begin(),
                         access.DeviceInBuffer.begin() + static_cast<std::ptrdiff_t>(take));
        }
        if (bytes.size() >= limit) return std::nullopt;
        if (environment.now() - start >= kEepromDumpTimeLimit)
            return LinkError{
                .kind = LinkErrorKind::NoReply, .reached = bytes.size(), .expected = limit};
        environment.sleep(kEepromDumpPollInterval);
    }
}

void LogDump(const LinkLog& log, const std::vector<std::uint8_t>& answer,
             const std::vector<std::uint8_t>& contents) {
    if (!answer.empty()) log.Print("num of bytes read: " + std::to_string(answer.size()));
    if (!answer.empty() && answer.front() != protocol::kEepromDumpMarker) {
        const auto shown = std::span(answer).first(std::min(answer.size(), kForeignAnswerShown));
        log.Print("the answer is not an EEPROM dump: " + protocol::BytesToHexText(shown) +
                  (shown.size() < answer.size() ? "..." : ""));
    }
    if (!contents.empty()) log.PrintLines(EepromDumpLines(contents));
    if (contents.size() < protocol::kEepromSize)
        log.Print(EepromDumpIncompleteLine(contents.size()));
}

}  // namespace

bool EepromDumpResult::complete() const { return contents.size() == protocol::kEepromSize; }

SendResult EraseEeprom(Transport& transport, std::string_view busAddress) {
    const std::string text = protocol::EraseEepromMessage(busAddress);
    if (text.empty()) return NotAnAddress(busAddress);
    transport.log().Print("erase message: " + text);
    const SendResult sent = transport.Send(text, PurgeFirst::Yes);
    if (sent.ok()) transport.environment().sleep(kAfterEraseEepromPause);
    return sent;
}

EepromDumpResult ReadEepromDump(Transport& transport, std::string_view busAddress) {
    EepromDumpResult result;
    const std::string text = protocol::ReadEepromMessage(busAddress);
    if (text.empty()) {
        result.sent = NotAnAddress(busAddress);
        return result;
    }
    transport.log().Print(text);
    result.sent = transport.Send(text);
    if (!result.sent.ok()) return result;

    std::vector<std::uint8_t> answer;
    answer.reserve(protocol::kEepromDumpLength);
    result.error = TakeAnswer(transport, protocol::kEepromDumpLength, answer);
    if (!answer.empty() && answer.front() == protocol::kEepromDumpMarker)
        result.contents.assign(answer.begin() + 1, answer.end());
    LogDump(transport.log(), answer, result.contents);
    return result;
}

}  // namespace varkunda::link
