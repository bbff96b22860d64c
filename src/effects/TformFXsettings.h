#pragma once

#include <QWidget>

struct EditorContext;

// The effect settings window: one control per effect parameter. Created hidden at
// start-up and shown beside the main window.
class TformFXsettings : public QWidget {
    Q_OBJECT

public:
    explicit TformFXsettings(EditorContext& context, QWidget* parent = nullptr);
    // Enables or disables every control of the window.
    void EnableWindowControls(bool enabled);

private:
    EditorContext& context_;
};
