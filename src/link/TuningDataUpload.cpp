#include "link/TuningDataUpload.h"

#include <string>

#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/Tunings.h"

namespace varkunda::link {

SendResult UploadTuningData(Transport& transport, std::string_view tuningDataText) {
    if (tuningDataText.size() != 2 * protocol::kTuningDataBytes ||
        !protocol::HexTextToBytes(tuningDataText)) {
        SendResult refused;
        refused.error = LinkError{.kind = LinkErrorKind::IncompleteTable,
                                  .reached = tuningDataText.size() / 2,
                                  .expected = protocol::kTuningDataBytes};
        return refused;
    }
    const SendResult bypass = transport.Send(protocol::BypassMessage(true));
    if (!bypass.ok()) return bypass;
    transport.environment().sleep(kBypassBeforeTuningDataPause);

    const std::string message = protocol::TuningDataMessage(tuningDataText);
    transport.log().Print("num_of_bytes: " + std::to_string(message.size() / 2));
    const SendResult sent = transport.Send(message, PurgeFirst::Yes);
    if (sent.ok()) transport.environment().sleep(kAfterTuningDataPause);
    return sent;
}

}  // namespace varkunda::link
