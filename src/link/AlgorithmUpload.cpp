#include "link/AlgorithmUpload.h"

namespace varkunda::link {

AlgorithmUploadResult UploadAlgorithm(Transport& transport, std::string_view messageHex,
                                      const AlgorithmUploadHooks& hooks) {
    AlgorithmUploadResult result;
    result.sent = transport.Send(messageHex, PurgeFirst::No);
    if (!result.sent.ok()) {
        result.error = result.sent.error;
        return result;
    }
    if (hooks.sent) hooks.sent(result.sent);

    result.error = transport.ReadAnswer(kUploadAnswerTimeout, [&](auto bytes) {
        result.answer.insert(result.answer.end(), bytes.begin(), bytes.end());
        if (hooks.read) hooks.read(bytes);
    });
    if (result.error && result.error->kind == LinkErrorKind::NoReply)
        result.error->kind = LinkErrorKind::NoUploadAnswer;
    return result;
}

}  // namespace varkunda::link
