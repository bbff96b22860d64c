#include "effects/ToggleSwitch.h"

#include <QKeyEvent>
#include <QPainter>

#include "effects/WidgetColours.h"

namespace {

constexpr int kTrackWidth = 34;
constexpr int kTrackHeight = 18;
constexpr int kTextGap = 6;

}  // namespace

ToggleSwitch::ToggleSwitch(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::toggled, this, &ToggleSwitch::switched);
}

QSize ToggleSwitch::sizeHint() const {
    int width = kTrackWidth + 4;
    if (!text().isEmpty()) width += kTextGap + fontMetrics().horizontalAdvance(text());
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
    const bool on = isChecked();
    painter.setPen(QPen(Shade(*this, 0.55), 1.0));
    painter.setBrush(on ? Role(*this, QPalette::Highlight) : Shade(*this, 0.3));
    painter.drawRoundedRect(track, radius, radius);

    const qreal thumbSize = track.height() - 4.0;
    const qreal thumbX = on ? track.right() - 2.0 - thumbSize : track.left() + 2.0;
    const QRectF thumb(thumbX, track.top() + 2.0, thumbSize, thumbSize);
    painter.setPen(QPen(Shade(*this, 0.6), 0.8));
    painter.setBrush(on ? Role(*this, QPalette::HighlightedText) : Shade(*this, 0.04));
    painter.drawEllipse(thumb);

    if (!text().isEmpty()) {
        painter.setPen(Role(*this, QPalette::WindowText));
        const QRectF textRect(track.right() + kTextGap, 0, width() - track.right() - kTextGap,
                              height());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideRight, int(textRect.width())));
    }

    // The focus mark: a frame in the look's highlight colour around the switch.
    if (hasFocus() && isEnabled()) {
        painter.setPen(QPen(Role(*this, QPalette::Highlight), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

// Space toggles as for any button; Return and Enter toggle too.
void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
