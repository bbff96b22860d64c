// The effect list: loading an entry's image, the algorithm check of a click and the
// arrow keys.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "EditorHarness.h"
#include "effects/TformFXsettings.h"

namespace {

void ClickEntry(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

TEST(EffectList, ClickWithoutPedalLoadsTheImageAndOpensTheWindow) {
    EditorHarness editor;
    editor.start();

    ClickEntry(editor.main().lstEffects, 0);

    const QString image = QString::fromLatin1(*editor.resources.find("VARKUNDA_TZ5_0014"));
    EXPECT_EQ(editor.consoleLines().mid(0, 4),
              QStringList({"efx index :0", "selected effect name: Varkunda TZ5 0014",
                           "resource name: Varkunda_TZ5_0014",
                           "filecontent (first 128 bytes): " + image.left(256)}));
    EXPECT_EQ(editor.context().SelectedEffectName, "Varkunda TZ5 0014");
    EXPECT_EQ(editor.context().AlgorithmImageText.first(), image);
    EXPECT_TRUE(editor.app().formFXsettings().isVisible());
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
}

// The window would show the new name over the addresses of the image loaded before.
TEST(EffectList, EntryWithoutImageShowsTheResourceErrorAndOpensNothing) {
    EditorHarness editor;
    editor.resources.replace("OCTAVE", "Varkunda TZ5 0014\r\nVarkunda TZ5 0099\r\n");
    editor.start();

    ClickEntry(editor.main().lstEffects, 1);

    EXPECT_EQ(editor.dialogs.messages,
              QStringList({"Error loading resource: Resource Varkunda_TZ5_0099 not found"}));
    EXPECT_EQ(editor.consoleLines().last(), "resource name: Varkunda_TZ5_0099");
    EXPECT_FALSE(editor.app().formFXsettings().isVisible());
}

struct AlgorithmCheckCase {
    const char* name;
    QString algorithmText;  // as the last status reply left it
    bool opensWindow;
    QString message;
};

class EffectClickWhileLinked : public ::testing::TestWithParam<AlgorithmCheckCase> {};

// Before the first reply the version is not known and the window opens; a version
// that cannot be read asks for the upload as an old one does.
TEST_P(EffectClickWhileLinked, ChecksTheAlgorithmOfTheLastReply) {
    const AlgorithmCheckCase& c = GetParam();
    EditorHarness editor;
    editor.start();
    TformMain& main = editor.main();
    editor.context().DeviceLinked = true;
    editor.context().AlgorithmVersionText = c.algorithmText;
    main.EnableMainButtons(true);
    editor.context().SelectedEffectName = "Varkunda TZ5 0014";
    editor.app().formFXsettings().show();

    ClickEntry(main.lstEffects, 0);

    EXPECT_EQ(editor.app().formFXsettings().isVisible(), c.opensWindow);
    EXPECT_EQ(editor.dialogs.messages,
              c.message.isEmpty() ? QStringList() : QStringList({c.message}));
    for (QPushButton* button : {main.btnRequest, main.btnSaveParameters, main.btnAssign,
                                main.btnSetFootswitchMode, main.btnSetTuning})
        EXPECT_EQ(button->isEnabled(), c.opensWindow) << button->text().toStdString();
    EXPECT_EQ(editor.context().SelectedEffectName, "Varkunda TZ5 0014");
}

const QString kUploadRequest =
    "Upload the latest version of Varkunda TZ5 algorithm:\r\nUpload Varkunda TZ5 0014";

INSTANTIATE_TEST_SUITE_P(
    Versions, EffectClickWhileLinked,
    ::testing::Values(AlgorithmCheckCase{"NotKnownYet", "", true, ""},
                      AlgorithmCheckCase{"Current", "0014", true, ""},
                      AlgorithmCheckCase{"Newer", "0020", true, ""},
                      AlgorithmCheckCase{"Older", "0013", false, kUploadRequest},
                      AlgorithmCheckCase{
                          "Unreadable", "001A", false,
                          "The pedal's algorithm version \"001A\" is not a version number this "
                          "editor can read.\r\n" +
                              kUploadRequest}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EffectList, ArrowKeysMoveTheSelectionWithoutLoading) {
    EditorHarness editor;
    editor.resources.replace("OCTAVE", "Varkunda TZ5 0014\r\nEffect B\r\nEffect C\r\n");
    editor.start();
    QListWidget* list = editor.main().lstEffects;
    list->setCurrentRow(0);

    const std::pair<Qt::Key, int> presses[] = {{Qt::Key_Up, 0},   {Qt::Key_Down, 1},
                                               {Qt::Key_Down, 2}, {Qt::Key_Down, 2},
                                               {Qt::Key_Up, 1},   {Qt::Key_F5, 1}};
    QStringList expectedLog;
    for (const auto& [key, row] : presses) {
        QTest::keyClick(list, key);
        EXPECT_EQ(list->currentRow(), row) << "after key " << key;
        if (key == Qt::Key_Up) expectedLog << "arrow up pressed";
        if (key == Qt::Key_Down) expectedLog << "arrow down pressed";
    }
    EXPECT_EQ(editor.consoleLines(), expectedLog);
    EXPECT_TRUE(editor.context().SelectedEffectName.isEmpty());
    EXPECT_FALSE(editor.app().formFXsettings().isVisible());
}

}  // namespace
