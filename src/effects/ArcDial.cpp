#include "effects/ArcDial.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "effects/ArcDialAccessible.h"
#include "effects/WidgetColours.h"
#include "protocol/ValueEncoding.h"

namespace {

constexpr int kLabelHeight = 14;
constexpr int kWheelStepDegrees = 5;
constexpr int kPageStepDegrees = 10;
// Sweep position of the bottom of the dead zone (-90 degrees).
constexpr int kDeadZoneMiddle = 315;

}  // namespace

ArcDial::ArcDial(const QString& label, QWidget* parent) : QAbstractSlider(parent), label_(label) {
    InstallArcDialAccessibility();
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_Hover);
    setRange(0, kSweep);
    setSingleStep(1);
    setPageStep(kPageStepDegrees);
    setAccessibleName(label);
    connect(this, &QAbstractSlider::actionTriggered, this, &ArcDial::adjustKeyAction);
}

int ArcDial::normalizedAngle(int angle) {
    if (angle >= -180 && angle <= 180) return angle;
    int wrapped = angle % 360;
    if (wrapped > 180) wrapped -= 360;
    if (wrapped < -180) wrapped += 360;
    return wrapped;
}

int ArcDial::sweepPosition(int angle) {
    int position = (kMinimumStop - normalizedAngle(angle)) % 360;
    return position < 0 ? position + 360 : position;
}

int ArcDial::angleAtSweepPosition(int position) {
    int angle = kMinimumStop - position;
    while (angle <= -180) angle += 360;
    while (angle > 180) angle -= 360;
    return angle;
}

// In the dead zone the nearer stop; the bottom itself counts as the minimum.
int ArcDial::shownPosition(int angle) {
    const int position = sweepPosition(angle);
    if (position <= kSweep) return position;
    return position < kDeadZoneMiddle ? kSweep : 0;
}

void ArcDial::setAngle(int angle) {
    const int normalized = normalizedAngle(angle);
    if (normalized == angle_) return;
    angle_ = normalized;
    followingAngle_ = true;
    setValue(shownPosition(angle_));
    followingAngle_ = false;
    update();
    emit changed(angle_);
}

// A value set as a slider (by keys or an assistive tool) turns the dial there.
void ArcDial::sliderChange(SliderChange change) {
    if (change == SliderValueChange && !followingAngle_ && value() != shownPosition(angle_))
        setAngle(angleAtSweepPosition(value()));
    QAbstractSlider::sliderChange(change);
}

// Runs after a key or tool moved the slider position, before the value follows it. A key
// from inside the dead zone starts at the nearer stop, which the value shows. On a dial
// the pedal keeps as a step number an arrow key moves one of those steps, so every press
// changes what the pedal gets.
void ArcDial::adjustKeyAction(int action) {
    const bool arrow = action == SliderSingleStepAdd || action == SliderSingleStepSub;
    if (pedalSteps_ > 0 && arrow) {
        const auto steps = static_cast<std::uint32_t>(pedalSteps_);
        const int shown = angleAtSweepPosition(shownPosition(angle_));
        const int from = static_cast<int>(varkunda::protocol::DialAngleToStep(shown, steps));
        const int to = std::clamp(from + (action == SliderSingleStepAdd ? 1 : -1), 0, pedalSteps_);
        const int target =
            varkunda::protocol::ValueToDialAngle(static_cast<std::uint32_t>(to), steps);
        setSliderPosition(shownPosition(target));
        return;
    }
    if (sweepPosition(angle_) > kSweep) setAngle(angleAtSweepPosition(sliderPosition()));
}

void ArcDial::setLabel(const QString& label) {
    label_ = label;
    setAccessibleName(label);
    update();
}

void ArcDial::setPedalSteps(int steps) { pedalSteps_ = std::max(0, steps); }

int ArcDial::reading() const {
    if (pedalSteps_ == 0) return shownPosition(angle_);
    return static_cast<int>(varkunda::protocol::DialAngleToStep(angle_, pedalSteps_));
}

int ArcDial::readingMaximum() const { return pedalSteps_ == 0 ? kSweep : pedalSteps_; }

QString ArcDial::readingText() const {
    if (pedalSteps_ == 0) return tr("%1 degrees").arg(reading());
    return tr("step %1 of %2").arg(reading()).arg(pedalSteps_);
}

void ArcDial::setReading(int reading) {
    reading = std::clamp(reading, 0, readingMaximum());
    if (pedalSteps_ == 0) {
        setAngle(angleAtSweepPosition(reading));
        return;
    }
    setAngle(varkunda::protocol::ValueToDialAngle(static_cast<std::uint32_t>(reading),
                                                  static_cast<std::uint32_t>(pedalSteps_)));
}

QSize ArcDial::sizeHint() const { return {58, 62}; }

QSize ArcDial::minimumSizeHint() const { return {40, 40 + kLabelHeight}; }

QRectF ArcDial::knobRect() const {
    const qreal side = std::max(8, std::min(width() - 4, height() - kLabelHeight - 2));
    return {(width() - side) / 2.0, 1.0, side, side};
}

int ArcDial::angleTowards(const QPointF& point) const {
    const QPointF centre = knobRect().center();
    const double dx = point.x() - centre.x();
    const double dy = centre.y() - point.y();
    if (dx == 0.0 && dy == 0.0) return angle_;
    const double degrees = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    return normalizedAngle(static_cast<int>(std::lround(degrees)));
}

// From inside the dead zone a step starts at the nearer stop (-90 counts as the
// minimum, as the snapping of the parameter handlers has it).
void ArcDial::stepBy(int degrees) {
    setAngle(angleAtSweepPosition(std::clamp(shownPosition(angle_) + degrees, 0, kSweep)));
}

void ArcDial::paintEvent(QPaintEvent*) {
    using namespace widget_colours;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(0.55);

    const QRectF outer = knobRect();
    const qreal trackWidth = std::max<qreal>(3.0, outer.width() / 11.0);
    const QRectF arcRect =
        outer.adjusted(trackWidth / 2, trackWidth / 2, -trackWidth / 2, -trackWidth / 2);

    // Track from the maximum stop counter-clockwise over the top to the minimum stop.
    painter.setPen(QPen(Shade(*this, 0.25), trackWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(arcRect, kMaximumStop * 16, kSweep * 16);

    // Value arc: clockwise from the minimum stop to the shown position; in the dead
    // zone it shows the nearer stop.
    const int shown = shownPosition(angle_);
    if (shown > 0) {
        painter.setPen(
            QPen(Role(*this, QPalette::Highlight), trackWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(arcRect, (360 + kMinimumStop) * 16, -shown * 16);
    }

    // Knob body, lit from the top left.
    const qreal inset = trackWidth * 1.8;
    const QRectF body = outer.adjusted(inset, inset, -inset, -inset);
    QRadialGradient shade(body.center() - QPointF(body.width() / 5, body.height() / 5),
                          body.width() * 0.75);
    const QColor base = Shade(*this, 0.15);
    shade.setColorAt(0.0, base.lighter(130));
    shade.setColorAt(1.0, base.darker(125));
    painter.setBrush(shade);
    painter.setPen(QPen(Shade(*this, 0.55), 1.0));
    painter.drawEllipse(body);

    // Pointer from near the centre to the knob's rim.
    const double radians = angle_ * std::numbers::pi / 180.0;
    const QPointF direction(std::cos(radians), -std::sin(radians));
    const qreal radius = body.width() / 2.0;
    painter.setPen(QPen(Role(*this, QPalette::WindowText), std::max<qreal>(2.0, radius / 6.0),
                        Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(body.center() + direction * (radius * 0.25),
                     body.center() + direction * (radius * 0.8));

    // Label under the knob.
    painter.setPen(Role(*this, QPalette::WindowText));
    const QRectF labelRect(0, outer.bottom() + 1, width(), height() - outer.bottom() - 1);
    const QString text = fontMetrics().elidedText(label_, Qt::ElideRight, width());
    painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop, text);

    // The focus mark: a frame in the look's highlight colour around the whole dial.
    if (hasFocus() && isEnabled()) {
        painter.setPen(QPen(Role(*this, QPalette::Highlight), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void ArcDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractSlider::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    pressAt(event->position());
    event->accept();
}

void ArcDial::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QAbstractSlider::mouseMoveEvent(event);
        return;
    }
    dragTo(event->position());
    event->accept();
}

void ArcDial::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragging_) {
        dragTo(event->position());
        dragging_ = false;
        heldStop_.reset();
        event->accept();
        return;
    }
    QAbstractSlider::mouseReleaseEvent(event);
}

// The dial jumps to where it is pressed; pressed in the dead zone, to the nearer stop
// (the bottom itself counts as the minimum, as for a dial set there from code).
void ArcDial::pressAt(const QPointF& point) {
    pointer_ = sweepPosition(angleTowards(point));
    heldStop_.reset();
    if (pointer_ > kSweep) heldStop_ = pointer_ < kDeadZoneMiddle ? kMaximumStop : kMinimumStop;
    setAngle(heldStop_ ? *heldStop_ : angleAtSweepPosition(pointer_));
}

// Follows the pointer the shorter way round, one degree at a time, so a fast move that
// crosses a stop is seen crossing it.
void ArcDial::dragTo(const QPointF& point) {
    int travel = sweepPosition(angleTowards(point)) - pointer_;
    if (travel > 180) travel -= 360;
    if (travel <= -180) travel += 360;
    const int step = travel < 0 ? -1 : 1;
    for (int moved = 0; moved != travel; moved += step) movePointerOneDegree(step);
    setAngle(heldStop_ ? *heldStop_ : angleAtSweepPosition(pointer_));
}

// Entering the dead zone across a stop holds the dial there; leaving it across the same
// stop lets the dial follow again. Crossing into the sweep at the other stop, after
// passing the whole dead zone, holds on.
void ArcDial::movePointerOneDegree(int step) {
    const int from = pointer_;
    pointer_ = (pointer_ + step + 360) % 360;
    const bool wasPast = from > kSweep;
    const bool isPast = pointer_ > kSweep;
    if (wasPast == isPast) return;
    const int stop = (from == 0 || pointer_ == 0) ? kMinimumStop : kMaximumStop;
    if (isPast && !heldStop_) heldStop_ = stop;
    if (!isPast && heldStop_ == stop) heldStop_.reset();
}

void ArcDial::wheelEvent(QWheelEvent* event) {
    // Whole notches of 120 eighths of a degree; finer wheels add up until one is full.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) stepBy(notches * kWheelStepDegrees);
    event->accept();
}
