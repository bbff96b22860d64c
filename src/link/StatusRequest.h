#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/Transport.h"
#include "protocol/StatusReply.h"

namespace varkunda::link {

// The pause between the status request and reading its reply.
inline constexpr std::chrono::milliseconds kStatusReplyPause{200};

enum class StatusError {
    None,
    WriteFailed,  // the request did not reach the driver
    NoReply,      // nothing arrived within the time limit
    QueueFailed,  // the driver could not be asked for its queue (no device, unplugged)
    Incomplete,   // fewer numbers than a status reply has
    Unreadable,   // enough numbers, but the layout does not parse
};

struct StatusOutcome {
    std::optional<protocol::StatusReply> reply;  // set only for a fresh, complete reply
    StatusError error = StatusError::None;
    std::string message;                  // for the user when `reply` is empty
    std::vector<std::uint8_t> numbers;    // what this request decoded, possibly nothing
    bool ok() const { return reply.has_value(); }
};

// Asks the linked pedal for its state: PurgeDeviceTX, 02 00 (not logged), the 200 ms
// pause, then the reply of 102 numbers. Never returns an earlier reply as this one's.
// The caller keeps the reply timer off meanwhile and applies the reply.
StatusOutcome RequestStatus(Transport& transport);

}  // namespace varkunda::link
