#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/LinkError.h"
#include "link/Transport.h"
#include "protocol/StatusReply.h"

namespace varkunda::link {

// The pause between the status request and reading its reply.
inline constexpr std::chrono::milliseconds kStatusReplyPause{200};

// The request ends in a reply or in one of these: RequestNotSent, ReadFailed, NoReply,
// IncompleteReply (with the numbers that came) or UnreadableReply.
struct StatusOutcome {
    std::optional<protocol::StatusReply> reply;  // set only for a fresh, complete reply
    std::optional<LinkError> error;              // why `reply` is empty
    std::vector<std::uint8_t> numbers;           // what this request decoded, possibly nothing
    bool ok() const { return reply.has_value(); }
};

// Asks the linked pedal for its state: PurgeDeviceTX, 02 00 (not logged), the 200 ms
// pause, then the reply of 102 numbers. Never returns an earlier reply as this one's.
// The caller keeps the reply timer off meanwhile and applies the reply.
StatusOutcome RequestStatus(Transport& transport);

}  // namespace varkunda::link
