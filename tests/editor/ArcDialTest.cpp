// The arc dial as a user turns it: drag, wheel and keys, and changes made from code.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <vector>

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

// Dragged past a stop into the dead zone, the dial stays at that stop, also beyond the
// bottom and out on the other side, until the pointer leaves the dead zone on the side
// it entered.
TEST_F(ArcDialTest, DragPastAStopHoldsItUntilThePointerComesBackOnThatSide) {
    struct Case {
        int start;                // on the sweep, near the stop
        std::vector<int> beyond;  // into the dead zone, past the bottom and out again
        int stop;
        int back;  // the pointer back on the sweep, on the stop's side
    };
    for (const Case& c : {Case{-150, {-130, -110, -90, -70, -50, -30, -60, -120}, -135, -155},
                          Case{-30, {-50, -70, -90, -110, -130, -150, -120, -60}, -45, -25}}) {
        QTest::mousePress(&dial, Qt::LeftButton, {}, towards(c.start));
        EXPECT_NEAR(dial.angle(), c.start, 4);
        for (int angle : c.beyond) {
            QTest::mouseMove(&dial, towards(angle));
            EXPECT_EQ(dial.angle(), c.stop) << "pointer at " << angle;
        }
        QTest::mouseMove(&dial, towards(c.back));
        EXPECT_NEAR(dial.angle(), c.back, 4);

        // Released in the dead zone, it stays at the stop it went past.
        QTest::mouseMove(&dial, towards(c.beyond[2]));
        QTest::mouseRelease(&dial, Qt::LeftButton, {}, towards(c.beyond[3]));
        EXPECT_EQ(dial.angle(), c.stop);
    }
}

// A press in the dead zone takes the nearer stop; set from code, an angle stays where
// it is put (the parameter handlers snap it).
TEST_F(ArcDialTest, PressInTheDeadZoneTakesTheNearerStop) {
    for (auto [pressed, stop] : {std::pair{-100, -135}, std::pair{-80, -45}}) {
        QTest::mousePress(&dial, Qt::LeftButton, {}, towards(pressed));
        EXPECT_EQ(dial.angle(), stop) << pressed;
        QTest::mouseRelease(&dial, Qt::LeftButton, {}, towards(pressed));
        EXPECT_EQ(dial.angle(), stop) << pressed;
    }
    dial.setAngle(-100);
    EXPECT_EQ(dial.angle(), -100);
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
    QTest::keyClick(&dial, Qt::Key_PageUp);  // ten steps
    EXPECT_EQ(dial.angle(), -146);
    QTest::keyClick(&dial, Qt::Key_PageDown);
    QTest::keyClick(&dial, Qt::Key_PageDown);  // ten back, then held at the minimum
    EXPECT_EQ(dial.angle(), -135);

    dial.setAngle(-60);  // inside the dead zone, nearer the maximum: End leaves it there
    QTest::keyClick(&dial, Qt::Key_End);
    EXPECT_EQ(dial.angle(), -45);
    QTest::keyClick(&dial, Qt::Key_Home);
    EXPECT_EQ(dial.angle(), -135);
}

// On a dial the pedal keeps as a step number (Low Pass has 24) every arrow press moves
// exactly one of the pedal's steps, up to the last and back down to 0.
TEST_F(ArcDialTest, ArrowsOnASteppedDialMoveOnePedalStepEachPress) {
    dial.setPedalSteps(24);
    dial.setAngle(-100);  // in the dead zone: the first press starts at the minimum
    dial.setFocus();
    for (int step = 1; step <= 25; ++step) {
        QTest::keyClick(&dial, Qt::Key_Up);
        EXPECT_EQ(dial.reading(), std::min(step, 24)) << "press " << step;
    }
    EXPECT_EQ(dial.angle(), -45);
    for (int step = 23; step >= 0; --step) {
        QTest::keyClick(&dial, Qt::Key_Down);
        EXPECT_EQ(dial.reading(), step);
    }
    EXPECT_EQ(dial.angle(), -135);
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
