#include "link/StatusRequest.h"

#include "protocol/Messages.h"

namespace varkunda::link {
namespace {

StatusOutcome Failure(LinkError error, std::vector<std::uint8_t> numbers = {}) {
    StatusOutcome outcome;
    outcome.error = std::move(error);
    outcome.numbers = std::move(numbers);
    return outcome;
}

}  // namespace

StatusOutcome RequestStatus(Transport& transport) {
    SendResult sent = transport.Send(protocol::StatusRequestMessage(), PurgeFirst::Yes);
    if (!sent.ok()) {
        sent.error->kind = LinkErrorKind::RequestNotSent;
        return Failure(std::move(*sent.error));
    }

    transport.environment().sleep(kStatusReplyPause);
    ReplyResult reply = transport.ReadReply(protocol::kStatusReplyLength);
    if (!reply.received()) return Failure(std::move(*reply.error));
    const std::size_t count = reply.numbers.size();
    if (count < protocol::kStatusReplyLength)
        return Failure(LinkError{.kind = LinkErrorKind::IncompleteReply,
                                 .reached = count,
                                 .expected = protocol::kStatusReplyLength},
                       std::move(reply.numbers));

    StatusOutcome outcome;
    outcome.reply = protocol::ParseStatusReply(reply.numbers);
    outcome.numbers = std::move(reply.numbers);
    if (!outcome.reply) outcome.error = LinkError{.kind = LinkErrorKind::UnreadableReply};
    return outcome;
}

}  // namespace varkunda::link
