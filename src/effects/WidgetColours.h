#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Colours of the effect window's own widgets, taken from the palette so every look
// applies; shades between the window's background and its text keep the drawing
// visible whatever the look's button colours are.
namespace widget_colours {

inline QPalette::ColorGroup GroupOf(const QWidget& widget) {
    if (!widget.isEnabled()) return QPalette::Disabled;
    return widget.isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

// `amount` 0 gives the background, 1 the text colour.
inline QColor Shade(const QWidget& widget, double amount) {
    const QPalette::ColorGroup group = GroupOf(widget);
    const QColor back = widget.palette().color(group, QPalette::Window);
    const QColor text = widget.palette().color(group, QPalette::WindowText);
    return QColor::fromRgbF(back.redF() + (text.redF() - back.redF()) * amount,
                            back.greenF() + (text.greenF() - back.greenF()) * amount,
                            back.blueF() + (text.blueF() - back.blueF()) * amount);
}

inline QColor Role(const QWidget& widget, QPalette::ColorRole role) {
    return widget.palette().color(GroupOf(widget), role);
}

}  // namespace widget_colours
