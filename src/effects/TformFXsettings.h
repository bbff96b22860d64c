#pragma once

#include <QWidget>

struct EditorContext;

namespace varkunda::protocol {
struct StatusReply;
}

// The effect settings window: one control per effect parameter. Created hidden at
// start-up and shown beside the main window.
class TformFXsettings : public QWidget {
    Q_OBJECT

public:
    explicit TformFXsettings(EditorContext& context, QWidget* parent = nullptr);
    // Enables or disables every control of the window.
    void EnableWindowControls(bool enabled);

    // Readers of the pedal's status reply, called in this order by the status request:
    // getFootswitchMode, getTuning, getAssignments, getBypassStatus, (the main window's
    // readers), getParameters.
    void getFootswitchMode(const varkunda::protocol::StatusReply& reply);
    void getTuning(const varkunda::protocol::StatusReply& reply);
    void getAssignments(const varkunda::protocol::StatusReply& reply);
    void getBypassStatus(const varkunda::protocol::StatusReply& reply);
    void getParameters(const varkunda::protocol::StatusReply& reply);

private:
    EditorContext& context_;
};
