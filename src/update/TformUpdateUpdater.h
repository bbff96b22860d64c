#pragma once

#include <QWidget>

struct EditorContext;

// Holds the updater's download and launch; never shown.
class TformUpdateUpdater : public QWidget {
    Q_OBJECT

public:
    explicit TformUpdateUpdater(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& context_;
};
