#pragma once

#include <QWidget>

struct EditorContext;

// Tells the user that a newer editor is available and offers to update.
// Created hidden at start-up.
class TformNewVersionMsg : public QWidget {
    Q_OBJECT

public:
    explicit TformNewVersionMsg(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& context_;
};
