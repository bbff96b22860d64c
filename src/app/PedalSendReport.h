#pragma once

#include <QString>

struct EditorContext;

namespace varkunda::link {
struct SendResult;
}

// True when a pedal is linked; otherwise one message says that `action` needs one.
bool RequireLinkedPedal(EditorContext& context, const QString& action);

// A message that did not reach the pedal: a console line, and a message box unless
// the device layer has already shown the driver's failure.
void ReportSendFailure(EditorContext& context, const QString& what,
                       const varkunda::link::SendResult& result);
