#include "link/StatusRequest.h"

#include "protocol/Messages.h"

namespace varkunda::link {
namespace {

StatusOutcome Failure(StatusError error, std::string message,
                      std::vector<std::uint8_t> numbers = {}) {
    StatusOutcome outcome;
    outcome.error = error;
    outcome.message = std::move(message);
    outcome.numbers = std::move(numbers);
    return outcome;
}

}  // namespace

StatusOutcome RequestStatus(Transport& transport) {
    const SendResult sent = transport.Send(protocol::StatusRequestMessage(), true);
    if (!sent.ok())
        return Failure(StatusError::WriteFailed,
                       "The status request could not be sent to the pedal.");

    transport.environment().sleep(kStatusReplyPause);
    ReplyResult reply = transport.ReadReply(protocol::kStatusReplyLength);
    switch (reply.status) {
        case ReplyStatus::QueueFailed:
            return Failure(StatusError::QueueFailed,
                           "The pedal could not be read: the device is not open or was unplugged.");
        case ReplyStatus::TimedOut:
            return Failure(StatusError::NoReply,
                           "The pedal did not answer the status request in time.");
        case ReplyStatus::Received:
            break;
    }
    const std::size_t count = reply.numbers.size();
    if (count < protocol::kStatusReplyLength)
        return Failure(StatusError::Incomplete,
                       "The pedal's status reply was incomplete (" + std::to_string(count) +
                           " of " + std::to_string(protocol::kStatusReplyLength) + " numbers).",
                       std::move(reply.numbers));

    StatusOutcome outcome;
    outcome.reply = protocol::ParseStatusReply(reply.numbers);
    outcome.numbers = std::move(reply.numbers);
    if (!outcome.reply) {
        outcome.error = StatusError::Unreadable;
        outcome.message = "The pedal's status reply could not be read.";
    }
    return outcome;
}

}  // namespace varkunda::link
