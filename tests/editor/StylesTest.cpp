// The Look menu and the saved style.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "EditorHarness.h"
#include "app/Styles.h"

namespace {

QString styleSheetText(int index) {
    return QString::fromUtf8(*QtResourceStore().find(StyleResourceName(index)));
}

TEST(Looks, EightDistinctStylesEachNamingItsPalette) {
    QtResourceStore store;
    QStringList sheets;
    for (int index = 0; index <= 7; ++index) {
        const auto data = store.find(StyleResourceName(index));
        ASSERT_TRUE(data) << index;
        sheets.append(QString::fromUtf8(*data));
        const auto palette = PaletteOfStyleSheet(sheets.last());
        ASSERT_TRUE(palette) << index;
        EXPECT_NE(palette->color(QPalette::Window), palette->color(QPalette::WindowText));
        EXPECT_NE(palette->color(QPalette::Highlight), palette->color(QPalette::Window));
    }
    sheets.removeDuplicates();
    EXPECT_EQ(sheets.size(), 8);
    EXPECT_FALSE(store.find("Style_8"));
}

TEST(Looks, ApplyingAStyleSetsSheetAndPaletteForTheWholeApplication) {
    EditorHarness editor;
    editor.start();
    ASSERT_TRUE(ApplyStyle(editor.resources, 3));
    EXPECT_EQ(qApp->styleSheet(), styleSheetText(3));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              PaletteOfStyleSheet(styleSheetText(3))->color(QPalette::Window));

    EXPECT_FALSE(ApplyStyle(editor.resources, 8));
    EXPECT_EQ(AppliedStyleIndex(), 3);
    EXPECT_EQ(qApp->styleSheet(), styleSheetText(3));
}

TEST(Looks, LookClickAppliesAndSavesTheStyleForTheNextStart) {
    EditorHarness editor;
    editor.start();
    editor.main().LookItems[4]->trigger();

    EXPECT_EQ(AppliedStyleIndex(), 4);
    EXPECT_EQ(qApp->styleSheet(), styleSheetText(4));
    EXPECT_EQ(EditorHarness::readFile(editor.makerFile("style.txt")), QByteArray("4"));

    ApplyStyle(editor.resources, 0);
    editor.restart();
    EXPECT_EQ(AppliedStyleIndex(), 4);
    EXPECT_TRUE(editor.consoleLines().isEmpty());
}

TEST(Looks, LookClickThatCannotSaveSaysSoAndKeepsTheStyle) {
    EditorHarness editor;
    editor.start();
    QDir().mkpath(editor.makerFile("style.txt"));  // a folder in the file's place

    editor.main().LookItems[2]->trigger();

    EXPECT_EQ(AppliedStyleIndex(), 2);
    ASSERT_EQ(editor.dialogs.messages.size(), 1);
    EXPECT_TRUE(editor.dialogs.messages[0].contains("style.txt"));
}

struct SavedStyleCase {
    QByteArray content;
    int applied;
    bool consoleLine;
};

class SavedStyle : public ::testing::TestWithParam<SavedStyleCase> {};

TEST_P(SavedStyle, StartUpAppliesTheSavedStyleOrStyleZero) {
    const SavedStyleCase& c = GetParam();
    EditorHarness editor;
    EditorHarness::writeFile(editor.makerFile("style.txt"), c.content);
    ApplyStyle(editor.resources, 5);  // a style other than the expected one
    editor.start();

    EXPECT_EQ(AppliedStyleIndex(), c.applied);
    EXPECT_EQ(qApp->styleSheet(), styleSheetText(c.applied));
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
    const QStringList lines = editor.consoleLines();
    if (c.consoleLine) {
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].contains("style.txt"));
    } else {
        EXPECT_TRUE(lines.isEmpty());
    }
    EXPECT_EQ(EditorHarness::readFile(editor.makerFile("style.txt")), c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SavedStyle,
    ::testing::Values(SavedStyleCase{"6", 6, false}, SavedStyleCase{"7", 7, false},
                      SavedStyleCase{"2\r\n", 2, false}, SavedStyleCase{"9", 0, true},
                      SavedStyleCase{"-1", 0, true}, SavedStyleCase{"garbage", 0, true},
                      SavedStyleCase{"4x", 0, true}, SavedStyleCase{"", 0, true}));

}  // namespace
