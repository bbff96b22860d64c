#include "app/PedalSendReport.h"

#include "app/EditorContext.h"
#include "frontend/LinkErrorText.h"
#include "link/D2xxAccess.h"
#include "link/Transport.h"
#include "platform/Dialogs.h"

bool RequireLinkedPedal(EditorContext& context, const QString& action) {
    if (context.DeviceLinked) return true;
    context.dialogs.showMessage(action + QStringLiteral(" needs a linked pedal: link it first "
                                                        "(Connection > Link)."));
    return false;
}

void ReportSendFailure(EditorContext& context, const QString& what,
                       const varkunda::link::SendResult& result) {
    if (!result.error) return;
    const QString text = what + QStringLiteral(": ") + LinkErrorText(*result.error);
    context.ConsolePrint(text);
    // A failed driver call has had its box already while reports are on, and a lost
    // pedal its one message.
    const bool shownAlready =
        result.error->kind == varkunda::link::LinkErrorKind::DeviceLost ||
        (result.error->driverStatus != varkunda::link::ft::OK && context.device.ErrorReportsOn);
    if (!shownAlready) context.dialogs.showMessage(text);
}
