#include "effects/TformFXsettings.h"

#include "app/EditorContext.h"

TformFXsettings::TformFXsettings(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(440, 432);
}

void TformFXsettings::EnableWindowControls(bool enabled) {
    for (QWidget* control : findChildren<QWidget*>()) control->setEnabled(enabled);
}

void TformFXsettings::getFootswitchMode(const varkunda::protocol::StatusReply&) {}
void TformFXsettings::getTuning(const varkunda::protocol::StatusReply&) {}
void TformFXsettings::getAssignments(const varkunda::protocol::StatusReply&) {}
void TformFXsettings::getBypassStatus(const varkunda::protocol::StatusReply&) {}
void TformFXsettings::getParameters(const varkunda::protocol::StatusReply&) {}
