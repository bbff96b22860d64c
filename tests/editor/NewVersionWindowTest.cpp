// The New Version window: its shape and texts, its buttons and the check box that
// turns it off for the next starts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "UpdateFixture.h"
#include "update/TformNewVersionMsg.h"

namespace {

const char* const kShowFile = "ShowMessageVersionAtStartup.txt";

// An editor 1.17 told by its server that 1.18 is out.
struct NewVersionFixture : UpdateFixture {
    bool startAndCheck() {
        server.answer(updatepaths::kEditorVersion, "1.18");
        start("1.17");
        return runCheck();
    }
    TformNewVersionMsg& window() { return editor.app().formNewVersionMsg(); }
};

TEST(NewVersionWindow, ShowsBothVersionsInItsDesignedShape) {
    NewVersionFixture f;
    ASSERT_TRUE(f.startAndCheck());
    TformNewVersionMsg& w = f.window();

    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "New Version");
    EXPECT_EQ(w.size(), QSize(268, 151));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w.pos(), QPoint(81, 318));
    EXPECT_EQ(w.Label1->text(), "A new version of the Varkunda Editor is available");
    EXPECT_EQ(w.Label2->text(), "Your version: 1.17     New version: 1.18");
    EXPECT_EQ(w.btnLaunchUpdate->text(), "Update Now");
    EXPECT_EQ(w.btnSeeWhatsNew->text(), "What's New?");
    EXPECT_EQ(w.CheckBox1->text(), "Don't Show This Message Again");
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_EQ(w.btnLaunchUpdate->geometry(), QRect(86, 56, 93, 28));
    EXPECT_EQ(w.CheckBox1->geometry(), QRect(35, 132, 215, 19));
}

TEST(NewVersionWindow, CheckingTheBoxStoresNoForTheNextStartOnly) {
    NewVersionFixture f;
    ASSERT_TRUE(f.startAndCheck());
    const QString file = f.editor.productFile(kShowFile);
    ASSERT_EQ(EditorHarness::readFile(file), QByteArray("YES"));

    f.window().CheckBox1->setChecked(true);
    EXPECT_EQ(EditorHarness::readFile(file), QByteArray("NO"));
    f.window().CheckBox1->setChecked(false);
    EXPECT_EQ(EditorHarness::readFile(file), QByteArray("NO"));
    EXPECT_TRUE(f.editor.context().ShowUpdateMsgAtStartup);
    EXPECT_TRUE(f.editor.main().menuShowUpdateMsg->isChecked());

    f.editor.restart();
    f.editor.app().formUpdateUpdater().Terminate = [] {};
    f.editor.main().CurrentAppVersionText = "1.17";
    ASSERT_TRUE(f.runCheck());
    EXPECT_EQ(f.editor.main().menuNewAppVersion->text(), "New version available: 1.18");
    EXPECT_FALSE(f.window().isVisible());
    EXPECT_FALSE(f.editor.main().menuShowUpdateMsg->isChecked());
}

TEST(NewVersionWindow, WithoutThePreferenceFileTheBoxWritesNothing) {
    NewVersionFixture f;
    ASSERT_TRUE(f.startAndCheck());
    const QString file = f.editor.productFile(kShowFile);
    ASSERT_TRUE(QFile::remove(file));

    f.window().CheckBox1->setChecked(true);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(f.editor.dialogs.shown.isEmpty());
}

TEST(NewVersionWindow, WhatsNewOpensTheReleaseNotesAndLeavesTheWindowOpen) {
    NewVersionFixture f;
    ASSERT_TRUE(f.startAndCheck());
    f.window().btnSeeWhatsNew->click();
    EXPECT_EQ(f.editor.shell.openedUrls,
              QStringList({f.server.url("/download/update/whatsnew.html")}));
    EXPECT_TRUE(f.window().isVisible());
}

TEST(NewVersionWindow, UpdateNowStartsTheUpdateAction) {
    NewVersionFixture f;
    ASSERT_TRUE(f.startAndCheck());
    f.editor.dialogs.answer({Dialogs::Answer::No});
    f.window().btnLaunchUpdate->click();
    EXPECT_EQ(f.editor.dialogs.questions,
              QStringList({"This action will update the Varkunda Editor to the latest version. "
                           "Do you want to continue?"}));
}

}  // namespace
