#include "app/SendToPedal.h"

#include "app/EditorContext.h"
#include "frontend/LinkErrorText.h"

varkunda::link::SendResult SendToPedal(EditorContext& context, std::string_view hexText,
                                       varkunda::link::PurgeFirst purge) {
    varkunda::link::SendResult sent = context.transport->Send(hexText, purge);
    if (!sent.ok()) context.ConsolePrint(LinkErrorText(*sent.error));
    return sent;
}

void PauseForPedal(EditorContext& context, std::chrono::milliseconds duration) {
    context.transport->environment().sleep(duration);
}
