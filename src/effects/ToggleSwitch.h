#pragma once

#include <QString>
#include <QWidget>

// An on/off switch drawn as a small sliding toggle, with an optional text beside it.
// Clicking it or pressing Space toggles it; every change emits switched(), also when
// set from code.
class ToggleSwitch : public QWidget {
    Q_OBJECT

  public:
    explicit ToggleSwitch(const QString& text = {}, QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    void setOn(bool on);

    QString text() const { return text_; }
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void switched(bool on);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF trackRect() const;

    bool on_ = false;
    bool pressed_ = false;
    QString text_;
};
