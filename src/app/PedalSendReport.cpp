#include "app/PedalSendReport.h"

#include "app/EditorContext.h"
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
    const QString text = what + QStringLiteral(": ") + QString::fromStdString(result.error);
    context.ConsolePrint(text);
    const bool shownByDevice =
        result.status != varkunda::link::ft::OK && context.device.ErrorReportsOn;
    if (!shownByDevice) context.dialogs.showMessage(text);
}
