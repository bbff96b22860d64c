#pragma once

#include <QAbstractSlider>
#include <QString>
#include <optional>

// A rotary knob whose state is an angle in whole degrees, -180..180, counter-clockwise
// from the right (so -90 points straight down). The usable sweep runs clockwise from
// the minimum stop at -135 over the top to the maximum stop at -45; the gap between
// them at the bottom is a dead zone. A drag that takes the pointer past a stop leaves the
// dial at that stop until the pointer comes back out of the dead zone on the same side,
// so it never jumps across to the other stop; wheel and keys stop at the ends; only an
// angle set from code can lie in the dead zone. Every change of the angle emits
// changed(), whether it came from the user or from code.
//
// As a slider its value is the shown sweep position, 0..270 (in the dead zone the
// nearer stop): keys step it by one degree (one of the pedal's steps on a stepped dial),
// Page Up/Down by ten degrees, Home/End go to the stops, and assistive tools read and set
// the dial through it.
class ArcDial : public QAbstractSlider {
    Q_OBJECT

  public:
    static constexpr int kMinimumStop = -135;
    static constexpr int kMaximumStop = -45;
    static constexpr int kSweep = 270;  // degrees from the minimum to the maximum stop

    explicit ArcDial(const QString& label = {}, QWidget* parent = nullptr);

    int angle() const { return angle_; }
    void setAngle(int angle);

    QString label() const { return label_; }
    void setLabel(const QString& label);

    // Degrees clockwise from the minimum stop: 0..270 on the sweep, above it in the
    // dead zone. Steps and the drawn value arc use it.
    static int sweepPosition(int angle);
    static int angleAtSweepPosition(int position);
    static int normalizedAngle(int angle);

    // How assistive tools read the dial: the degrees turned from the minimum stop, or,
    // for a dial whose parameter the pedal keeps as a step number 0..steps, that step.
    void setPedalSteps(int steps);
    int pedalSteps() const { return pedalSteps_; }
    int reading() const;
    int readingMaximum() const;
    QString readingText() const;
    // Turns the dial to a reading (degrees turned, or the pedal's step).
    void setReading(int reading);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void changed(int angle);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void sliderChange(SliderChange change) override;

  private:
    QRectF knobRect() const;
    int angleTowards(const QPointF& point) const;
    void stepBy(int degrees);
    void pressAt(const QPointF& point);
    void dragTo(const QPointF& point);
    void movePointerOneDegree(int step);
    void adjustKeyAction(int action);
    static int shownPosition(int angle);

    int angle_ = kMinimumStop;
    QString label_;
    bool dragging_ = false;
    // During a drag: the pointer's sweep position (in the dead zone above kSweep), and
    // the stop the dial stays at while the pointer is past it.
    int pointer_ = 0;
    std::optional<int> heldStop_;
    int wheelRemainder_ = 0;
    int pedalSteps_ = 0;
    bool followingAngle_ = false;  // the slider value is being set from the angle
};
