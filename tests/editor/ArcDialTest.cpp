// The arc dial as a user turns it: drag, wheel and keys, and changes made from code.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "effects/ArcDial.h"
#include "effects/ToggleSwitch.h"

namespace {

class ArcDialTest : public ::testing::Test {
  protected:
    ArcDialTest() {
        dial.resize(58, 62);
        dial.show();
    }
    // A point on the knob's circle in the direction of `angle`.
    QPoint towards(int angle) const {
        const QPointF centre(dial.width() / 2.0, 1 + (dial.height() - 16) / 2.0);
        const double radians = angle * 3.14159265358979 / 180.0;
        return (centre + QPointF(std::cos(radians), -std::sin(radians)) * 18).toPoint();
    }
    void wheel(int delta) {
        QWheelEvent event(QPointF(20, 20), dial.mapToGlobal(QPointF(20, 20)), {}, {0, delta},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&dial, &event);
    }

    ArcDial dial{"Dry"};
    QSignalSpy changes{&dial, &ArcDial::changed};
};

TEST_F(ArcDialTest, SettingFromCodeEmitsOnlyRealChanges) {
    dial.setAngle(90);
    dial.setAngle(90);
    dial.setAngle(-135);
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0][0].toInt(), 90);
    EXPECT_EQ(changes[1][0].toInt(), -135);
    dial.setAngle(540);  // a whole turn and a half: the same direction as 180
    EXPECT_EQ(dial.angle(), 180);
}

TEST_F(ArcDialTest, DraggingAroundTheCentreFollowsThePointer) {
    QTest::mousePress(&dial, Qt::LeftButton, {}, towards(180));
    EXPECT_NEAR(std::abs(dial.angle()), 180, 4);
    QTest::mouseMove(&dial, towards(90));
    EXPECT_NEAR(dial.angle(), 90, 4);
    QTest::mouseMove(&dial, towards(0));
    QTest::mouseRelease(&dial, Qt::LeftButton, {}, towards(0));
    EXPECT_NEAR(dial.angle(), 0, 4);
    EXPECT_GE(changes.size(), 3);
    EXPECT_EQ(changes.last()[0].toInt(), dial.angle());

    // Moving without a pressed button turns nothing.
    const auto before = changes.size();
    QTest::mouseMove(&dial, towards(135));
    EXPECT_EQ(changes.size(), before);
}

TEST_F(ArcDialTest, WheelAndKeysStepAlongTheSweepAndStopAtTheEnds) {
    dial.setAngle(-135);
    changes.clear();
    wheel(-120);  // down at the minimum: nothing moves
    EXPECT_EQ(dial.angle(), -135);
    EXPECT_TRUE(changes.isEmpty());

    wheel(120);  // one notch clockwise
    EXPECT_EQ(dial.angle(), -140);
    wheel(60);
    wheel(60);  // two half notches make one
    EXPECT_EQ(dial.angle(), -145);

    dial.setFocus();
    QTest::keyClick(&dial, Qt::Key_End);
    EXPECT_EQ(dial.angle(), -45);
    QTest::keyClick(&dial, Qt::Key_Up);  // past the maximum: stays
    EXPECT_EQ(dial.angle(), -45);
    QTest::keyClick(&dial, Qt::Key_Down);
    EXPECT_EQ(dial.angle(), -44);

    dial.setAngle(-100);  // inside the dead zone, nearer the minimum
    QTest::keyClick(&dial, Qt::Key_Up);
    EXPECT_EQ(dial.angle(), -136);
}

TEST(ToggleSwitchTest, ClickSpaceAndCodeToggleAndEmit) {
    ToggleSwitch control;
    control.resize(40, 22);
    control.show();
    QSignalSpy switched(&control, &ToggleSwitch::switched);

    QTest::mouseClick(&control, Qt::LeftButton);
    EXPECT_TRUE(control.isOn());
    control.setFocus();
    QTest::keyClick(&control, Qt::Key_Space);
    EXPECT_FALSE(control.isOn());
    control.setOn(true);
    control.setOn(true);
    ASSERT_EQ(switched.size(), 3);
    EXPECT_EQ(switched[2][0].toBool(), true);

    control.setEnabled(false);
    QTest::mouseClick(&control, Qt::LeftButton);
    EXPECT_TRUE(control.isOn());
}

}  // namespace
