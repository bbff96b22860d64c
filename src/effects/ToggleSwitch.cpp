#include "effects/ToggleSwitch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "effects/WidgetColours.h"

namespace {

constexpr int kTrackWidth = 34;
constexpr int kTrackHeight = 18;
constexpr int kTextGap = 6;

}  // namespace

ToggleSwitch::ToggleSwitch(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ToggleSwitch::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
    emit switched(on_);
}

void ToggleSwitch::setText(const QString& text) {
    text_ = text;
    updateGeometry();
    update();
}

QSize ToggleSwitch::sizeHint() const {
    int width = kTrackWidth + 4;
    if (!text_.isEmpty()) width += kTextGap + fontMetrics().horizontalAdvance(text_);
    return {width, std::max(kTrackHeight + 4, fontMetrics().height() + 4)};
}

QSize ToggleSwitch::minimumSizeHint() const { return {kTrackWidth + 4, kTrackHeight + 4}; }

QRectF ToggleSwitch::trackRect() const {
    return {2.0, (height() - kTrackHeight) / 2.0, double(kTrackWidth), double(kTrackHeight)};
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    using namespace widget_colours;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(0.55);

    const QRectF track = trackRect();
    const qreal radius = track.height() / 2.0;
    const bool focused = hasFocus() && isEnabled();
    painter.setPen(
        QPen(focused ? Role(*this, QPalette::Highlight) : Shade(*this, 0.55), focused ? 1.5 : 1.0));
    painter.setBrush(on_ ? Role(*this, QPalette::Highlight) : Shade(*this, 0.3));
    painter.drawRoundedRect(track, radius, radius);

    const qreal thumbSize = track.height() - 4.0;
    const qreal thumbX = on_ ? track.right() - 2.0 - thumbSize : track.left() + 2.0;
    const QRectF thumb(thumbX, track.top() + 2.0, thumbSize, thumbSize);
    painter.setPen(QPen(Shade(*this, 0.6), 0.8));
    painter.setBrush(on_ ? Role(*this, QPalette::HighlightedText) : Shade(*this, 0.04));
    painter.drawEllipse(thumb);

    if (!text_.isEmpty()) {
        painter.setPen(Role(*this, QPalette::WindowText));
        const QRectF textRect(track.right() + kTextGap, 0, width() - track.right() - kTextGap,
                              height());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text_, Qt::ElideRight, int(textRect.width())));
    }
}

void ToggleSwitch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void ToggleSwitch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        if (rect().contains(event->position().toPoint())) setOn(!on_);
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        setOn(!on_);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
