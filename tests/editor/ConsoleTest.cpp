// The debug console: its log, the scroll flag and the key that opens it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "EditorHarness.h"

namespace {

class Console : public ::testing::Test {
  protected:
    void SetUp() override { editor.start(); }

    void printLines(int count, const QString& prefix = "line ") {
        for (int i = 0; i < count; ++i) editor.context().ConsolePrint(prefix + QString::number(i));
    }
    QScrollBar& scrollBar() { return *editor.console().Memo1->verticalScrollBar(); }
    void settle() { QCoreApplication::processEvents(); }

    EditorHarness editor;
};

TEST_F(Console, StartsEmptyWithScrollCheckedAndTheFirstAddressChosen) {
    TformPrint& console = editor.console();
    EXPECT_TRUE(console.Lines().isEmpty());
    EXPECT_TRUE(console.CheckBox1->isChecked());
    EXPECT_TRUE(console.AutoScroll());
    EXPECT_TRUE(console.Memo1->isReadOnly());
    EXPECT_EQ(console.cmbI2Caddr->count(), 2);
    EXPECT_EQ(console.cmbI2Caddr->currentText(), "50");
    EXPECT_EQ(console.btnEraseEeprom->text(), "Erase E2P");
    EXPECT_EQ(console.btnReadEEPROM->text(), "Read E2P");
}

TEST_F(Console, LinesLoggedWhileHiddenAreAllThereInOrder) {
    editor.context().ConsolePrint("first");
    editor.context().ConsoleAppendDirect("");
    editor.context().ConsolePrint("third");
    EXPECT_FALSE(editor.console().isVisible());
    editor.console().show();
    EXPECT_EQ(editor.consoleLines(), QStringList({"first", "", "third"}));
}

TEST_F(Console, WithScrollOnTheViewFollowsTheEnd) {
    editor.console().show();
    printLines(300);
    settle();
    EXPECT_GT(scrollBar().maximum(), 0);
    EXPECT_EQ(scrollBar().value(), scrollBar().maximum());
}

TEST_F(Console, LinesLoggedWhileHiddenAreInViewWhenShown) {
    printLines(300);
    settle();
    editor.console().show();
    settle();
    ASSERT_GT(scrollBar().maximum(), 0);
    EXPECT_EQ(scrollBar().value(), scrollBar().maximum());
}

TEST_F(Console, WithScrollOffTheViewStaysWhereTheUserLeftIt) {
    editor.console().show();
    printLines(300);
    settle();
    editor.console().CheckBox1->setChecked(false);
    EXPECT_FALSE(editor.console().AutoScroll());
    scrollBar().setValue(40);

    printLines(300, "more ");
    settle();
    EXPECT_EQ(scrollBar().value(), 40);
    EXPECT_EQ(editor.consoleLines().size(), 600);

    editor.console().CheckBox1->setChecked(true);
    printLines(1, "again ");
    settle();
    EXPECT_EQ(scrollBar().value(), scrollBar().maximum());
}

TEST_F(Console, DirectLinesDoNotScroll) {
    editor.console().show();
    printLines(300);
    settle();
    scrollBar().setValue(10);
    for (int i = 0; i < 300; ++i) editor.context().ConsoleAppendDirect("direct");
    settle();
    EXPECT_EQ(scrollBar().value(), 10);
}

TEST_F(Console, UpScrollsToTheTop) {
    editor.console().show();
    printLines(300);
    settle();
    ASSERT_GT(scrollBar().value(), 0);
    editor.console().btnScrollTop->click();
    EXPECT_EQ(scrollBar().value(), 0);
}

TEST_F(Console, ClearEmptiesTheLogAndTheNextLineIsTheFirst) {
    printLines(5);
    editor.console().btnClear->click();
    EXPECT_TRUE(editor.consoleLines().isEmpty());
    editor.context().ConsolePrint("after");
    EXPECT_EQ(editor.consoleLines(), QStringList({"after"}));
}

struct KeyCase {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    bool opens;
};

class ConsoleKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ConsoleKey, OnlyCtrlShiftPOpensTheConsole) {
    const KeyCase& c = GetParam();
    for (bool listHasFocus : {false, true}) {
        EditorHarness editor;
        editor.start();
        editor.app().show();
        QWidget* target = &editor.main();
        if (listHasFocus) target = editor.main().lstEffects;
        QTest::keyClick(target, c.key, c.modifiers);
        EXPECT_EQ(editor.console().isVisible(), c.opens)
            << c.name << " list focus " << listHasFocus;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ConsoleKey,
    ::testing::Values(
        KeyCase{"P", Qt::NoModifier, Qt::Key_P, false},
        KeyCase{"CtrlP", Qt::ControlModifier, Qt::Key_P, false},
        KeyCase{"ShiftP", Qt::ShiftModifier, Qt::Key_P, false},
        KeyCase{"CtrlShiftO", Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O, false},
        KeyCase{"CtrlShiftP", Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_P, true},
        KeyCase{"CtrlShiftAltP", Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier,
                Qt::Key_P, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
