#include "link/BootloaderEntry.h"

#include "protocol/Messages.h"

namespace varkunda::link {

BootloaderResult EnterBootloader(BootloaderClient& client, Transport& transport) {
    const SendResult sent = transport.Send(protocol::EnterBootloaderMessage());
    if (!sent.ok())
        return BootloaderError{.failure = BootloaderFailure::LinkFailed,
                               .step = BootloaderStep::Sync,
                               .link = sent.error};
    transport.environment().sleep(kEnterBootloaderPause);
    return client.Connect();
}

BootloaderResult ConnectRunningBootloader(BootloaderClient& client) {
    const auto answered = [](const BootloaderResult& result) {
        return !result || result->failure == BootloaderFailure::NotAcknowledged;
    };
    BootloaderResult result = client.Connect();
    if (answered(result)) return std::nullopt;
    if (result->failure != BootloaderFailure::NoAnswer) return result;
    result = client.Connect();
    if (answered(result)) return std::nullopt;
    return result;
}

}  // namespace varkunda::link
