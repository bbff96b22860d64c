#pragma once

#include <QPushButton>

// A push button whose caption wraps onto several lines when it does not fit; text()
// keeps the caption as one line.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
