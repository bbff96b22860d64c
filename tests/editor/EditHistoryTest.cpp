// Undo, redo and the A/B comparison of the effect window's edits, against the software
// pedal: what each sends, byte for byte, and when the history starts again.
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <functional>

#include "PedalFixture.h"
#include "effects/ArcDial.h"
#include "effects/EditHistory.h"
#include "effects/ToggleSwitch.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/PresetFile.h"

namespace pedal_test {
namespace {

namespace param = varkunda::protocol::param;
using namespace std::chrono_literals;

class EditHistoryTest : public ::testing::Test {
  protected:
    EditHistoryTest() {
        editor.link();
        editor.clearWire();
        editor.editor.dialogs.clear();
    }

    TformFXsettings& effects() { return editor.effects(); }
    EditHistory& history() { return *editor.context().editHistory; }
    QUndoStack& stack() { return history().stack(); }
    void wait(std::chrono::milliseconds pause) { editor.editor.linkEnvironment.advance(pause); }

    // Each write the pedal received since the last clearWire().
    std::vector<Bytes> writes() {
        std::vector<Bytes> received;
        for (const auto& record : editor.pedal().wireLog()) received.push_back(record.bytes);
        return received;
    }
    // The message that sets `parameter` to `value`, as the window's controls send it.
    Bytes message(std::size_t parameter, std::uint32_t value) {
        const auto text = varkunda::protocol::SetParameterMessage(
            effects().Parameters().address(parameter), value);
        return varkunda::protocol::HexTextToBytes(text).value();
    }
    std::uint32_t value(std::size_t parameter) { return effects().Parameters().value(parameter); }
    void sendDials() {
        effects().Timer1Timer();
        editor.clearWire();
    }
    void request() {
        editor.main().btnRequestClick();
        editor.clearWire();
    }

    PedalEditor editor;
};

TEST_F(EditHistoryTest, DialMovesCloserThan600msAreOneStepAndUndoSendsThroughTheSendTimer) {
    struct Case {
        std::chrono::milliseconds gap;
        int steps;
    };
    for (const Case& c : {Case{599ms, 1}, Case{600ms, 2}}) {
        stack().clear();
        effects().dialDry->setAngle(0);
        sendDials();
        stack().clear();
        const std::uint32_t start = value(param::kDry);

        effects().dialDry->setAngle(10);
        wait(c.gap);
        effects().dialDry->setAngle(20);
        sendDials();
        const std::uint32_t end = value(param::kDry);
        ASSERT_EQ(stack().count(), c.steps) << c.gap.count();
        EXPECT_EQ(history().undoAction()->text(), "Undo Dry");

        for (int i = 0; i < c.steps; ++i) history().undoAction()->trigger();
        EXPECT_TRUE(writes().empty()) << "waits for the send timer as a player's turn does";
        EXPECT_TRUE(effects().Timer1->isActive());
        effects().Timer1Timer();
        EXPECT_EQ(writes(), (std::vector<Bytes>{message(param::kDry, start)})) << c.gap.count();
        EXPECT_EQ(effects().dialDry->angle(), 0);
        EXPECT_EQ(editor.pedal().state().parameters[param::kDry], start);
        EXPECT_EQ(history().redoAction()->text(), "Redo Dry");

        editor.clearWire();
        for (int i = 0; i < c.steps; ++i) history().redoAction()->trigger();
        effects().Timer1Timer();
        EXPECT_EQ(writes(), (std::vector<Bytes>{message(param::kDry, end)}));
        EXPECT_EQ(effects().dialDry->angle(), 20);
        editor.clearWire();
    }
}

TEST_F(EditHistoryTest, ADragIsOneStepHoweverSlow) {
    ArcDial* dial = effects().dialSubMix;
    const QPointF centre(dial->width() / 2.0, 1 + (dial->height() - 16) / 2.0);
    const auto towards = [&](int angle) {
        const double radians = angle * 3.14159265358979 / 180.0;
        return (centre + QPointF(std::cos(radians), -std::sin(radians)) * 18).toPoint();
    };
    const int before = dial->angle();
    const std::uint32_t start = value(param::kSubMix);
    QTest::mousePress(dial, Qt::LeftButton, {}, towards(150));
    for (int angle : {120, 90, 60, 30}) {
        wait(1000ms);
        QTest::mouseMove(dial, towards(angle));
    }
    QTest::mouseRelease(dial, Qt::LeftButton, {}, towards(30));
    sendDials();
    ASSERT_NE(dial->angle(), before);

    EXPECT_EQ(stack().count(), 1);
    EXPECT_EQ(history().undoAction()->text(), "Undo Sub Mix");
    history().undoAction()->trigger();
    effects().Timer1Timer();
    EXPECT_EQ(writes(), (std::vector<Bytes>{message(param::kSubMix, start)}));
    EXPECT_EQ(dial->angle(), before);
}

// Each control kind sends at once; undo sends what flipping it back by hand sends.
TEST_F(EditHistoryTest, SwitchListAndCheckBoxChangesAreOneStepEach) {
    effects().cmbGuitarTuning->setCurrentIndex(1);  // the note cuts need a tuning
    ASSERT_EQ(stack().count(), 0);
    struct Case {
        std::size_t parameter;
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {param::kWave, "Wave", [&] { effects().swtWave->setOn(!effects().swtWave->isOn()); }},
        {param::kNoiseGateStatus, "Noise Gate Status",
         [&] { effects().swtNoiseGateStatus->setOn(!effects().swtNoiseGateStatus->isOn()); }},
        {param::kHarmonicPitch, "Harmonic Pitch",
         [&] {
             auto* list = effects().cmbVariableWavePitch;
             list->setCurrentIndex((list->currentIndex() + 3) % list->count());
         }},
        {param::kHighNotesCut, "High Notes Cut",
         [&] { effects().chkHighNoteCut->setChecked(!effects().chkHighNoteCut->isChecked()); }},
    };
    for (const Case& c : cases) {
        const std::uint32_t start = value(c.parameter);
        const int steps = stack().count();
        c.change();
        const std::uint32_t changed = value(c.parameter);
        ASSERT_NE(changed, start) << c.name;
        EXPECT_EQ(stack().count(), steps + 1) << c.name;
        EXPECT_EQ(history().undoAction()->text(), QString("Undo ") + c.name);
        editor.clearWire();

        history().undoAction()->trigger();
        EXPECT_EQ(writes(), (std::vector<Bytes>{message(c.parameter, start)})) << c.name;
        EXPECT_EQ(value(c.parameter), start);
        history().redoAction()->trigger();
        EXPECT_EQ(writes().back(), message(c.parameter, changed)) << c.name;
        editor.clearWire();
    }
}

TEST_F(EditHistoryTest, LoadedPresetIsOneStepAndUndoSendsOnlyWhatItChanged) {
    auto values = editor.pedal().state().parameters;
    const auto start = values;
    values[param::kDry] = 0x00200000;
    values[param::kSplit] = values[param::kSplit] == 1 ? 0 : 1;
    const QString file = QDir(editor.editor.folders.documents()).filePath("song.txt");
    EditorHarness::writeFile(
        file, QByteArray::fromStdString(varkunda::protocol::PresetFileBytes(values)));
    editor.editor.dialogs.openFileNames = {file};
    editor.main().menuLoadPresetClick();
    ASSERT_EQ(value(param::kDry), 0x00200000u);
    ASSERT_EQ(stack().count(), 1);
    EXPECT_EQ(history().undoAction()->text(), "Undo Load Preset");
    editor.clearWire();

    history().undoAction()->trigger();
    EXPECT_FALSE(effects().Timer1->isActive()) << "written at once, as the load was";
    EXPECT_EQ(writes(), (std::vector<Bytes>{message(param::kDry, start[param::kDry]),
                                            message(param::kSplit, start[param::kSplit])}));
    EXPECT_EQ(editor.pedal().state().parameters, start);
}

// The pedal is the truth: a reply that shows other values starts the history again;
// one that shows what the window showed, and the commands that store or assign, do not.
TEST_F(EditHistoryTest, OnlyARepliedChangeClearsTheHistory) {
    struct Case {
        const char* what;
        std::function<void()> act;
        bool clears;
    };
    const Case cases[] = {
        {"reply as shown", [&] { request(); }, false},
        {"Save Parameters", [&] { editor.main().btnSaveParametersClick(); }, false},
        {"Assign", [&] { editor.main().btnAssignClick(); }, false},
        {"Set Tuning", [&] { editor.main().btnSetTuningClick(); }, false},
        {"reply with a value changed on the pedal",
         [&] {
             editor.pedal().state().parameters[param::kInputLevel] ^= 0x00100000;
             request();
         },
         true},
    };
    for (const Case& c : cases) {
        effects().dialLowPass->setAngle(effects().dialLowPass->angle() == 90 ? 60 : 90);
        effects().swtWave->setOn(!effects().swtWave->isOn());
        sendDials();
        ASSERT_GE(stack().count(), 2) << c.what;
        const int steps = stack().count();

        c.act();
        EXPECT_EQ(stack().count(), c.clears ? 0 : steps) << c.what;
    }
}

TEST_F(EditHistoryTest, UndoIsOffWithTheEffectWindowsControlsAndForgottenOnUnlink) {
    effects().swtWave->setOn(!effects().swtWave->isOn());
    history().KeepA();
    EXPECT_TRUE(history().undoAction()->isEnabled());
    EXPECT_TRUE(history().compareAction()->isEnabled());

    editor.main().controlStates().beginExchange();
    EXPECT_FALSE(history().undoAction()->isEnabled());
    editor.main().controlStates().endExchange();
    EXPECT_TRUE(history().undoAction()->isEnabled());

    editor.main().menuDisconnect->trigger();
    EXPECT_EQ(stack().count(), 0);
    for (QAction* item : history().actions()->actions()) EXPECT_FALSE(item->isEnabled());
    editor.link();
    EXPECT_TRUE(history().keepAAction()->isEnabled());
    EXPECT_FALSE(history().compareAction()->isEnabled()) << "A went with the unlink";
    EXPECT_FALSE(history().undoAction()->isEnabled());
}

TEST_F(EditHistoryTest, CompareSwitchesSidesSendingOnlyTheDifferingParameters) {
    const std::uint32_t dryA = value(param::kDry);
    const std::uint32_t waveA = value(param::kWave);
    const QString caption = effects().windowTitle();
    EXPECT_FALSE(history().compareAction()->isEnabled()) << "nothing kept as A yet";
    history().keepAAction()->trigger();

    effects().dialDry->setAngle(effects().dialDry->angle() == 45 ? 90 : 45);
    effects().swtWave->setOn(!effects().swtWave->isOn());
    sendDials();
    const std::uint32_t dryB = value(param::kDry);
    const std::uint32_t waveB = value(param::kWave);
    const int steps = stack().count();

    history().compareAction()->trigger();
    EXPECT_FALSE(effects().Timer1->isActive());
    EXPECT_EQ(writes(),
              (std::vector<Bytes>{message(param::kDry, dryA), message(param::kWave, waveA)}));
    EXPECT_EQ(effects().windowTitle(), caption + " [A]");
    editor.clearWire();

    history().compareAction()->trigger();
    EXPECT_EQ(writes(),
              (std::vector<Bytes>{message(param::kDry, dryB), message(param::kWave, waveB)}));
    EXPECT_EQ(effects().windowTitle(), caption + " [B]");
    EXPECT_EQ(stack().count(), steps) << "switching sides is no step";
    EXPECT_EQ(history().undoAction()->text(), "Undo Wave");

    // The next edit ends the comparison on the side shown; A stays kept.
    history().compareAction()->trigger();
    editor.clearWire();
    effects().swtSplit->setOn(!effects().swtSplit->isOn());
    EXPECT_EQ(effects().windowTitle(), caption);
    EXPECT_EQ(value(param::kDry), dryA);
    EXPECT_EQ(writes().size(), 1u);
    EXPECT_TRUE(history().compareAction()->isEnabled());

    // So does a status reply; the pedal holds the side shown, so the history stays.
    history().compareAction()->trigger();
    ASSERT_TRUE(history().SideShown().has_value());
    const int stepsBeforeReply = stack().count();
    request();
    EXPECT_EQ(effects().windowTitle(), caption);
    EXPECT_FALSE(history().SideShown().has_value());
    EXPECT_EQ(stack().count(), stepsBeforeReply);

    // Undo is an edit too: it ends the comparison and works on the side shown. Undoing
    // the Split flip on A, which holds Split's earlier value, sends nothing.
    history().compareAction()->trigger();
    editor.clearWire();
    history().undoAction()->trigger();
    EXPECT_EQ(effects().windowTitle(), caption);
    EXPECT_FALSE(history().SideShown().has_value());
    EXPECT_TRUE(writes().empty());
    history().redoAction()->trigger();
    EXPECT_EQ(writes().size(), 1u);
}

TEST_F(EditHistoryTest, EditMenuSitsBetweenFileAndConnectionAndNamesTheStep) {
    QStringList menus;
    for (QAction* item : editor.main().menuBar()->actions()) menus << item->text();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus.mid(0, 3), (QStringList{"&File", "&Edit", "&Connection"}));

    effects().dialDry->setAngle(effects().dialDry->angle() == 45 ? 90 : 45);
    QStringList items;
    for (QAction* item : editor.main().menuEdit->actions()) items << item->text();
    EXPECT_EQ(items, (QStringList{"Undo Dry", "Redo", "", "Keep as A", "Compare A/B"}));
}

TEST_F(EditHistoryTest, CtrlZAndCtrlShiftZWorkInBothWindows) {
    for (QWidget* window :
         {static_cast<QWidget*>(&editor.main()), static_cast<QWidget*>(&effects())}) {
        const bool on = effects().swtWave->isOn();
        effects().swtWave->setOn(!on);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));

        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(effects().swtWave->isOn(), on) << window->objectName().toStdString();
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(effects().swtWave->isOn(), !on) << window->objectName().toStdString();
    }
}

}  // namespace
}  // namespace pedal_test
