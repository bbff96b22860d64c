// The editor's version check one second after start-up and the Info menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "UpdateFixture.h"
#include "update/TformNewVersionMsg.h"

namespace {

using namespace std::chrono_literals;
using Behaviour = LoopbackHttpServer::Behaviour;
using Route = LoopbackHttpServer::Route;

const QString kVersionPath = updatepaths::kEditorVersion;

void expectStartUpCaptions(EditorHarness& editor) {
    EXPECT_EQ(editor.main().menuNewAppVersion->text(), "New version available:");
    EXPECT_FALSE(editor.main().menuUpdateNow->isEnabled());
    EXPECT_FALSE(editor.app().formNewVersionMsg().isVisible());
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
}

struct VersionCase {
    QByteArray body;
    bool newer;
    const char* caption;
};

TEST(VersionCheck, ServerVersionComparesWithTheEditorsAsMajorAndMinorNumbers) {
    const VersionCase cases[] = {
        {"1.18", true, "New version available: 1.18"},
        {"1.17", false, "No update available"},
        {"1.16", false, "No update available"},
        {"2.0", true, "New version available: 2.0"},
        {"1.18\n", true, "New version available: 1.18"},
        {" 1.18\r\n", true, "New version available: 1.18"},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        UpdateFixture f;
        f.server.answer(kVersionPath, c.body);
        f.start("1.17");
        ASSERT_TRUE(f.runCheck());
        TformMain& m = f.editor.main();

        EXPECT_EQ(m.menuNewAppVersion->text(), c.caption);
        EXPECT_EQ(m.menuUpdateNow->isEnabled(), c.newer);
        EXPECT_EQ(f.editor.app().formNewVersionMsg().isVisible(), c.newer);
        EXPECT_EQ(f.server.requests, QStringList({kVersionPath}));
        EXPECT_EQ(f.editor.consoleLines(),
                  QStringList({"currentAppVersion: 1.17",
                               "newAppVersion: " + QString::fromLatin1(c.body.trimmed())}));
        EXPECT_TRUE(f.editor.dialogs.shown.isEmpty());
    }
}

TEST(VersionCheck, RunsOnceOneSecondAfterStartUpAndOpensTheNewVersionWindow) {
    UpdateFixture f;
    f.server.answer(kVersionPath, "1.18");
    f.editor.runWebVersionCheck = true;
    f.editor.start();
    TformMain& m = f.editor.main();

    EXPECT_TRUE(m.TimerCheckWebVersion->isActive());
    EXPECT_TRUE(m.TimerCheckWebVersion->isSingleShot());
    EXPECT_EQ(m.TimerCheckWebVersion->interval(), 1000);
    EXPECT_TRUE(f.server.requests.isEmpty());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return f.editor.app().formNewVersionMsg().isVisible(); }, 5000));
    EXPECT_FALSE(m.TimerCheckWebVersion->isActive());
    EXPECT_EQ(m.menuNewAppVersion->text(), "New version available: 1.18");
    EXPECT_TRUE(m.menuUpdateNow->isEnabled());
    // The build's own version.
    EXPECT_EQ(f.editor.consoleLines(),
              QStringList({"currentAppVersion: 1.0", "newAppVersion: 1.18"}));
    QTest::qWait(1200);
    EXPECT_EQ(f.server.requests.size(), 1);
}

TEST(VersionCheck, WithShowUpdateMessageOffANewerVersionOpensNoWindow) {
    UpdateFixture f;
    f.server.answer(kVersionPath, "1.18");
    EditorHarness::writeFile(f.editor.productFile("ShowMessageVersionAtStartup.txt"), "NO");
    f.start("1.17");
    ASSERT_TRUE(f.runCheck());

    EXPECT_EQ(f.editor.main().menuNewAppVersion->text(), "New version available: 1.18");
    EXPECT_TRUE(f.editor.main().menuUpdateNow->isEnabled());
    EXPECT_FALSE(f.editor.app().formNewVersionMsg().isVisible());
}

struct FailureCase {
    const char* name;
    Route route;
    const char* line;
    std::chrono::milliseconds limit = 10s;
};

// Nobody asked for this check: whatever goes wrong is one console line, no box, and
// the Info menu stays as it was.
TEST(VersionCheck, AFailedCheckIsOneConsoleLineAndChangesNothing) {
    const FailureCase cases[] = {
        {"not found",
         {.status = 404, .reason = "Not Found", .body = "<html>gone</html>"},
         "Version check: Error: Not Found"},
        {"server error",
         {.status = 500, .reason = "Internal Server Error"},
         "Version check: Error: Internal Server Error"},
        {"dropped", {.behaviour = Behaviour::Drop}, "Version check failed: "},
        {"cut body",
         {.body = "1.18", .behaviour = Behaviour::CloseMidBody},
         "Version check failed: "},
        {"late",
         {.body = "1.18", .delayMs = 5000},
         "Version check failed: no answer within 0.3 s",
         300ms},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateFixture f;
        f.server.route(kVersionPath, c.route);
        f.editor.httpTimeLimit = c.limit;
        f.start();
        ASSERT_TRUE(f.runCheck());
        const QStringList lines = f.editor.consoleLines();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].startsWith(c.line)) << lines[0].toStdString();
        if (QString(c.line).endsWith(": ")) {
            EXPECT_GT(lines[0].size(), QString(c.line).size());
        }
        expectStartUpCaptions(f.editor);
    }
}

TEST(VersionCheck, AServerThatIsNotThereIsOneConsoleLine) {
    EditorHarness editor;
    editor.updateServer = LoopbackHttpServer::deadAddress();
    editor.start();
    editor.main().checkmostrecentversiononwebsite();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !editor.consoleLines().isEmpty(); }, 15000));
    QTest::qWait(50);
    const QStringList lines = editor.consoleLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("Version check failed: ")) << lines[0].toStdString();
    expectStartUpCaptions(editor);
}

TEST(VersionCheck, AnAnswerThatIsNotAVersionIsAConsoleLine) {
    for (const QByteArray& body : {QByteArray("<html>oops</html>"), QByteArray("1.18\n2.0"),
                                   QByteArray(""), QByteArray("1.18.1")}) {
        SCOPED_TRACE(body.toStdString());
        UpdateFixture f;
        f.server.answer(kVersionPath, body);
        f.start();
        ASSERT_TRUE(f.runCheck());
        const QStringList lines = f.editor.consoleLines();
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[2], "Version check: the server's answer \"" +
                                QString::fromLatin1(body).simplified() + "\" is not a version");
        expectStartUpCaptions(f.editor);
        EXPECT_TRUE(f.editor.main().ServerAppVersionText.isEmpty());
    }
}

// Plain http:// is for a server on this computer only; anything else is refused
// before a request is made.
TEST(VersionCheck, WithoutAUsableServerNothingIsRequested) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "no update server is configured (VARKUNDA_UPDATE_SERVER)"},
        {"http://192.0.2.7:8000", "only https:// may be used outside this computer"},
        {"http://updates.example.com", "only https:// may be used outside this computer"},
        {"ftp://127.0.0.1/", "only https:// may be used outside this computer"},
        {"127.0.0.1:8000", "is not a web address"},
    };
    for (const auto& [address, reason] : cases) {
        SCOPED_TRACE(address);
        RecordingHttpClient http;
        EditorHarness editor;
        editor.http = &http;
        editor.updateServer = address;
        editor.start();
        editor.main().checkmostrecentversiononwebsite();
        QTest::qWait(20);

        EXPECT_TRUE(http.requested.isEmpty());
        const QStringList lines = editor.consoleLines();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].startsWith("Version check skipped: ")) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(reason)) << lines[0].toStdString();
        expectStartUpCaptions(editor);
    }
}

TEST(UpdateServerAddress, HttpsAnywhereHttpOnlyOnTheLoopbackInterface) {
    const std::pair<const char*, bool> cases[] = {
        {"https://updates.example.com", true},
        {"https://192.0.2.7:8443", true},
        {"http://127.0.0.1:8000", true},
        {"http://127.8.9.10", true},
        {"http://localhost:8000", true},
        {"http://[::1]:8000", true},
        {"http://updates.example.com", false},
        {"http://192.168.1.2:8000", false},
        {"http://[2001:db8::1]", false},
        {"ftp://127.0.0.1", false},
        {"file:///tmp", false},
        {"updates.example.com", false},
        {"https://", false},
        {"https://example.com/?a=1", false},
        {"", false},
    };
    for (const auto& [address, usable] : cases) {
        const UpdateServer server(address);
        EXPECT_EQ(server.usable(), usable) << address;
        EXPECT_EQ(server.refusal().isEmpty(), usable) << address;
    }
}

TEST(UpdateServerAddress, PathsGoBelowTheBaseAddress) {
    EXPECT_EQ(UpdateServer("https://example.com").address(updatepaths::kSupport),
              QUrl("https://example.com/contact-us/"));
    EXPECT_EQ(UpdateServer("https://example.com/mirror/").address(updatepaths::kEditorVersion),
              QUrl("https://example.com/mirror/download/varkunda-editor-version.php"));
    EXPECT_EQ(UpdateServer("http://127.0.0.1:8000").address(updatepaths::kUpdaterProgram),
              QUrl("http://127.0.0.1:8000/download/update/Varkunda_Win_Updater.exe"));
    EXPECT_EQ(UpdateServer("https://example.com").address(updatepaths::kUpdaterVersion),
              QUrl("https://example.com/download/update/Varkunda_Win_Updater_Version.php"));
    EXPECT_EQ(UpdateServer("https://example.com").address(updatepaths::kReleaseNotes),
              QUrl("https://example.com/download/update/whatsnew.html"));
}

TEST(InfoMenu, OpeningItLogsTheEditorsVersion) {
    EditorHarness editor;
    editor.start();
    emit editor.main().menuInfo->aboutToShow();
    EXPECT_EQ(editor.consoleLines(), QStringList({"current app version: 1.0"}));
}

TEST(InfoMenu, SupportOpensTheSupportPageOfTheServer) {
    EditorHarness editor;
    editor.updateServer = "https://updates.example.com";
    editor.start();
    editor.main().menuSupport->trigger();
    EXPECT_EQ(editor.shell.openedUrls, QStringList({"https://updates.example.com/contact-us/"}));
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
}

TEST(InfoMenu, SupportWithoutAServerSaysWhy) {
    EditorHarness editor;
    editor.start();
    editor.main().menuSupport->trigger();
    EXPECT_TRUE(editor.shell.openedUrls.isEmpty());
    EXPECT_EQ(editor.dialogs.messages,
              QStringList({"The support page cannot be opened: no update server is configured "
                           "(VARKUNDA_UPDATE_SERVER)."}));
}

}  // namespace
