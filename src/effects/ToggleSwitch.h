#pragma once

#include <QAbstractButton>
#include <QString>

// An on/off switch drawn as a small sliding toggle, with an optional text beside it: a
// checkable button, so keys and assistive tools treat it as one. Clicking it or
// pressing Space (or Return) toggles it; every change emits switched(), also when set
// from code.
class ToggleSwitch : public QAbstractButton {
    Q_OBJECT

  public:
    explicit ToggleSwitch(const QString& text = {}, QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on) { setChecked(on); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void switched(bool on);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF trackRect() const;
};
