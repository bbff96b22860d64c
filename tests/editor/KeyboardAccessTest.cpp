// The editor without a mouse: Tab through both windows in reading order, an edit made
// with keys alone reaching the pedal, names and values for assistive tools, menus from
// the keyboard, and the status line saying what each pedal-wide command sent.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <functional>

#include "PedalFixture.h"
#include "effects/ArcDial.h"
#include "effects/EffectControls.h"
#include "effects/ToggleSwitch.h"
#include "firmware/TformFirmwareUpgrade.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/ValueEncoding.h"
#include "update/TformNewVersionMsg.h"

namespace {

using pedal_test::Bytes;
using pedal_test::PedalEditor;
namespace param = varkunda::protocol::param;

Bytes MessageBytes(const std::string& hexText) {
    return varkunda::protocol::HexTextToBytes(hexText).value();
}

void Activate(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// What a screen reader calls the widget: the label tied to it, else its own name. (On
// Linux Qt names a list box after its current entry and ties its caption to it as its
// label; elsewhere the caption is the name.)
QString NameOf(QWidget* widget) {
    if (!widget) return QStringLiteral("(nothing)");
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    const auto labels = node->relations(QAccessible::Label);
    if (!labels.isEmpty()) return labels.first().first->text(QAccessible::Name);
    return node->text(QAccessible::Name);
}

// Presses Tab until focus is on `target`, at most one round of the window.
bool TabTo(QWidget& window, const QWidget* target) {
    for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                        Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

// A linked editor holding the pedal's values, so every control is enabled.
class KeyboardAccess : public ::testing::Test {
  protected:
    KeyboardAccess() {
        pedal.link();
        pedal.clearWire();
    }
    TformMain& main() { return pedal.main(); }
    TformFXsettings& effects() { return pedal.effects(); }

    PedalEditor pedal;
};

TEST_F(KeyboardAccess, TabRunsThroughEachWindowInReadingOrderAndRoundAgain) {
    struct Case {
        QWidget* window;
        QStringList order;  // the controls' names, as a screen reader says them
    };
    EditorApplication& app = pedal.editor.app();
    app.formNewVersionMsg().show();
    const Case cases[] = {
        {&main(),
         {"Upload Selected", "Request", "Save Parameters", "Assign", "Set Footswitch Mode",
          "Set Tuning", "Effects"}},
        {&effects(),
         {"Dry", "-1 OCT", "Sub Mix", "-2 OCT", "Low Pass", "High Pass", "Range", "Dry HPF", "Wave",
          "Input Level", "Split", "Wave Clip", "Bypass", "Limit Range", "1st Harmonic",
          "Harmonic Pitch", "Tracking Functions", "Semitones", "Dominant Notes Cut",
          "High Notes Cut", "Noise Gate", "Threshold", "Control I", "Control II", "Control III",
          "Control IV", "Remote Footswitch",
          // Tab stops once in each footswitch pair; the arrow keys move within it.
          "Bypass", "Bypass"}},
        {&app.formPrint(), {"Clear", "UP", "scroll", "Erase E2P", "Read E2P", "E2P addr", "Log"}},
        {&app.formFirmwareUpgrade(), {"Firmware", "Upgrade Firmware"}},
        {&app.formNewVersionMsg(), {"Update Now", "What's New?", "Don't Show This Message Again"}},
    };
    for (const Case& c : cases) {
        Activate(*c.window);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : c.window,
                        Qt::Key_Tab);  // Tab into the window
        QWidget* first = QApplication::focusWidget();
        for (int i = 0; first && NameOf(first) != c.order.front() && i < 40; ++i) {
            QTest::keyClick(first, Qt::Key_Tab);
            if (QApplication::focusWidget() == first) break;
            first = QApplication::focusWidget();
        }
        QStringList visited;
        for (qsizetype i = 0; i <= c.order.size(); ++i) {
            visited << NameOf(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(visited.join(" | ").toStdString(),
                  (c.order + QStringList{c.order.front()}).join(" | ").toStdString())
            << c.window->windowTitle().toStdString();
    }
}

// Tab into the effect window, turn a dial, flip a switch, pick from a list, then store
// with Save Parameters: the pedal receives what a mouse would have sent.
TEST_F(KeyboardAccess, EffectWindowEditAndStoreByKeysAlone) {
    TformFXsettings& fx = effects();
    const auto address = [&](std::size_t parameter) { return fx.Parameters().address(parameter); };
    std::array<std::uint32_t, 9> stored = fx.Parameters().assignableValues();
    ASSERT_NE(fx.cmbVariableWavePitch->currentIndex(), 0);

    Activate(fx);
    ASSERT_TRUE(TabTo(fx, fx.dialInputLevel));
    for (Qt::Key key : {Qt::Key_End, Qt::Key_PageDown, Qt::Key_Down})
        QTest::keyClick(fx.dialInputLevel, key);
    const int angle = -34;  // eleven degrees back from the maximum stop
    EXPECT_EQ(fx.dialInputLevel->angle(), angle);
    EXPECT_TRUE(pedal.wire().empty());  // the send timer holds the turn, as for a drag
    ASSERT_TRUE(fx.Timer1->isActive());
    EXPECT_EQ(fx.Timer1->interval(), 100);
    fx.Timer1Timer();
    const std::uint32_t level = varkunda::protocol::DialAngleToValue(angle);

    ASSERT_TRUE(TabTo(fx, fx.swtLimitRange));
    const bool limitWasOn = fx.swtLimitRange->isOn();
    QTest::keyClick(fx.swtLimitRange, Qt::Key_Space);
    EXPECT_NE(fx.swtLimitRange->isOn(), limitWasOn);

    ASSERT_TRUE(TabTo(fx, fx.cmbVariableWavePitch));
    QTest::keyClick(fx.cmbVariableWavePitch, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView* rows = fx.cmbVariableWavePitch->view();
    ASSERT_TRUE(rows->isVisible());
    QTest::keyClick(rows, Qt::Key_Home);
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_EQ(fx.cmbVariableWavePitch->currentIndex(), 0);

    Activate(main());
    ASSERT_TRUE(TabTo(main(), main().btnSaveParameters));
    QTest::keyClick(main().btnSaveParameters, Qt::Key_Space);

    stored[0] = level;                                      // Input Level
    stored[1] = varkunda::protocol::HarmonicPitchTable[0];  // 1st Harmonic Pitch, -12
    stored[6] = limitWasOn ? 0 : 1;                         // Limit Range UP
    const std::vector<Bytes> expected = {
        MessageBytes(varkunda::protocol::SetParameterMessage(address(param::kInputLevel), level)),
        MessageBytes(
            varkunda::protocol::SetParameterMessage(address(param::kLimitRangeUp), stored[6])),
        MessageBytes(
            varkunda::protocol::SetParameterMessage(address(param::kHarmonicPitch), stored[1])),
        MessageBytes(varkunda::protocol::StoreParametersMessage(stored))};
    std::vector<Bytes> received;
    for (const auto& record : pedal.pedal().wireLog()) received.push_back(record.bytes);
    EXPECT_EQ(received, expected);
    EXPECT_EQ(pedal.editor.dialogs.questions, QStringList{"Save Parameters to pedal?"});
}

// Every control a key can reach has a name; every dial a value as the window shows it.
TEST_F(KeyboardAccess, AccessibilityTreeNamesEveryControlAndReadsEveryDial) {
    effects().dialLowPass->setAngle(varkunda::protocol::ValueToDialAngle(12, 24));
    effects().dialDry->setAngle(ArcDial::kMinimumStop);
    effects().dialInputLevel->setAngle(ArcDial::kMaximumStop);

    for (QWidget* window : {static_cast<QWidget*>(&main()), static_cast<QWidget*>(&effects())}) {
        Activate(*window);
        QSet<QWidget*> reached;
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
            auto* widget = qobject_cast<QWidget*>(node->object());
            if (widget && (widget->focusPolicy() & Qt::TabFocus) && widget != window &&
                widget->window() == window) {
                reached.insert(widget);
                const QString name = NameOf(widget);
                EXPECT_FALSE(name.isEmpty()) << widget->metaObject()->className();
                if (!widget->toolTip().isEmpty()) {
                    EXPECT_EQ(node->text(QAccessible::Description), widget->toolTip())
                        << name.toStdString();
                }
                if (qobject_cast<ArcDial*>(widget)) {
                    EXPECT_EQ(node->role(), QAccessible::Dial) << name.toStdString();
                    ASSERT_NE(node->valueInterface(), nullptr) << name.toStdString();
                    EXPECT_FALSE(node->text(QAccessible::Value).isEmpty()) << name.toStdString();
                }
            }
            for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(window));
        // The tree reaches every control Tab reaches.
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if ((control->focusPolicy() & Qt::TabFocus) && control->isVisibleTo(window) &&
                control->window() == window) {
                EXPECT_TRUE(reached.contains(control)) << NameOf(control).toStdString();
            }
        }
    }

    // The values read as shown: degrees turned from the minimum stop, or the pedal's step.
    struct Reading {
        ArcDial* dial;
        const char* name;
        QString value;
        int number;
    };
    for (const Reading& r : {Reading{effects().dialDry, "Dry", "0 degrees", 0},
                             Reading{effects().dialInputLevel, "Input Level", "270 degrees", 270},
                             Reading{effects().dialLowPass, "Low Pass", "step 12 of 24", 12}}) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(r.dial);
        EXPECT_EQ(node->text(QAccessible::Name), r.name);
        EXPECT_EQ(node->text(QAccessible::Value), r.value);
        EXPECT_EQ(node->valueInterface()->currentValue().toInt(), r.number);
    }
    QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(effects().swtLimitRange);
    EXPECT_EQ(toggle->text(QAccessible::Name), "Limit Range");
    EXPECT_TRUE(toggle->state().checkable);
    EXPECT_EQ(toggle->text(QAccessible::Description), "Limit the tracking range on higher notes.");

    // A tool setting the value turns the dial and sends as a turn does.
    effects().dialLowPass->setFocus();
    QAccessible::queryAccessibleInterface(effects().dialLowPass)
        ->valueInterface()
        ->setCurrentValue(24);
    EXPECT_EQ(effects().dialLowPass->angle(), ArcDial::kMaximumStop);
    EXPECT_TRUE(effects().Timer1->isActive());
}

TEST_F(KeyboardAccess, F10AndAltLettersOpenTheMenus) {
    Activate(main());
    main().btnRequest->setFocus();
    struct Case {
        QKeyCombination keys;
        QMenu* menu;
    };
    for (const Case& c :
         {Case{Qt::Key_F10, main().menuFile}, Case{Qt::ALT | Qt::Key_F, main().menuFile},
          Case{Qt::ALT | Qt::Key_C, main().menuConnection},
          Case{Qt::ALT | Qt::Key_S, main().menuSettings},
          Case{Qt::ALT | Qt::Key_U, main().menuFirmwareUpgrade},
          Case{Qt::ALT | Qt::Key_I, main().menuInfo}}) {
        QTest::keyClick(QApplication::focusWidget(), c.keys.key(), c.keys.keyboardModifiers());
        EXPECT_EQ(QApplication::activePopupWidget(), c.menu) << c.menu->title().toStdString();
        if (QWidget* popup = QApplication::activePopupWidget()) {
            QTest::keyClick(popup, Qt::Key_Escape);
            QTest::keyClick(main().menuBar(), Qt::Key_Escape);
        }
        main().btnRequest->setFocus();
    }
}

// After each command the status line says what went to the pedal, and no more.
TEST_F(KeyboardAccess, StatusLineSaysWhatEachCommandSent) {
    struct Case {
        const char* name;
        std::function<void(TformMain&)> command;
        QString status;
    };
    const Case cases[] = {
        {"Save Parameters", [](TformMain& m) { m.btnSaveParameters->click(); },
         "Status: parameters sent"},
        {"Assign", [](TformMain& m) { m.btnAssign->click(); }, "Status: assignments sent"},
        {"Set Footswitch Mode", [](TformMain& m) { m.btnSetFootswitchMode->click(); },
         "Status: footswitch sent"},
        {"Set Tuning", [](TformMain& m) { m.btnSetTuning->click(); }, "Status: tuning sent"},
        {"MIDI channel 10", [](TformMain& m) { m.MIDIChannelItems[10]->trigger(); },
         "Status: MIDI channel 10 sent"},
        {"MIDI channel OMNI", [](TformMain& m) { m.MIDIChannelItems[0]->trigger(); },
         "Status: MIDI OMNI sent"},
        {"Store Bypass Status", [](TformMain& m) { m.menuStoreBypassStatus->trigger(); },
         "Status: bypass memory sent"},
        {"Do Not Store Bypass Status",
         [](TformMain& m) { m.menuDoNotStoreBypassStatus->trigger(); },
         "Status: bypass memory sent"},
    };
    for (const Case& c : cases) {
        main().lblStatus->setText("Status: ");
        pedal.clearWire();
        c.command(main());
        EXPECT_FALSE(pedal.wire().empty()) << c.name;
        EXPECT_EQ(main().lblStatus->text(), c.status) << c.name;
        // The words fit the status line whole.
        EXPECT_LE(main().lblStatus->fontMetrics().horizontalAdvance(c.status),
                  main().lblStatus->width())
            << c.name;
    }

    // A command declined at its question sends nothing and leaves the line as it was.
    main().lblStatus->setText("Status: ");
    pedal.clearWire();
    pedal.editor.dialogs.answer({Dialogs::Answer::No});
    main().btnSetTuning->click();
    EXPECT_TRUE(pedal.wire().empty());
    EXPECT_EQ(main().lblStatus->text(), "Status: ");

    // A message that did not reach the pedal is said to have failed.
    pedal.pedal().unplug();
    main().btnSetFootswitchMode->click();
    ASSERT_TRUE(pedal.wire().empty());
    EXPECT_EQ(main().lblStatus->text(), "Status: sending failed");
}

}  // namespace
