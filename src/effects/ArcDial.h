#pragma once

#include <QString>
#include <QWidget>

// A rotary knob whose state is an angle in whole degrees, -180..180, counter-clockwise
// from the right (so -90 points straight down). The usable sweep runs clockwise from
// the minimum stop at -135 over the top to the maximum stop at -45; the gap between
// them at the bottom is a dead zone that the widget can be dragged into but never
// scrolls or steps into. Every change of the angle emits changed(), whether it came
// from the user or from code.
class ArcDial : public QWidget {
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
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF knobRect() const;
    int angleTowards(const QPointF& point) const;
    void stepBy(int degrees);

    int angle_ = kMinimumStop;
    QString label_;
    bool dragging_ = false;
    int wheelRemainder_ = 0;
};
