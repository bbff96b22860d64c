// Update Now: the updater's version check, its download and its two kinds of start.
#include <gtest/gtest.h>

#include <QDir>

#include "UpdateFixture.h"

namespace {

using Behaviour = LoopbackHttpServer::Behaviour;
using Route = LoopbackHttpServer::Route;

const QString kQuestion =
    "This action will update the Varkunda Editor to the latest version. Do you want to "
    "continue?";
const QString kDownloaded = "New updater downloaded! Click OK to proceed with the update.";
const QString kVersionPath = updatepaths::kUpdaterVersion;
const QString kProgramPath = updatepaths::kUpdaterProgram;
const QByteArray kProgram = "MZ new updater program";

struct UpdaterFixture : UpdateFixture {
    QString programFile(const QString& name) const {
        return QDir(editor.folders.programFolder()).filePath(name);
    }
    QString updater() const { return programFile("Varkunda_Win_Updater.exe"); }
    QString downloaded() const { return programFile("Varkunda_Win_Updater_Update.exe"); }

    void placeUpdater(const QString& version) {
        EditorHarness::writeFile(updater(), "old updater");
        editor.folders.fileVersions[updater()] = version;
    }
    void serve(const QByteArray& updaterVersion, const QByteArray& program = kProgram) {
        server.answer(kVersionPath, updaterVersion);
        server.answer(kProgramPath, program);
    }
    // "new editor" "editor", as the updater receives them here.
    QString parameters() const {
        const QString newEditor =
            QDir(editor.folders.temporary()).filePath("Varkunda_Editor_Update.exe");
        return "\"" + newEditor + "\" \"" + editor.folders.programFile() + "\"";
    }
    QStringList programFolderEntries() const {
        return QDir(editor.folders.programFolder())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    QList<RecordingShell::Started> started() const { return editor.shell.started; }
};

void expectStarts(const UpdaterFixture& f, const QStringList& parameterTexts) {
    ASSERT_EQ(f.started().size(), parameterTexts.size());
    for (int i = 0; i < parameterTexts.size(); ++i) {
        EXPECT_EQ(f.started()[i].program, f.updater());
        EXPECT_EQ(f.started()[i].parameters, parameterTexts[i]);
    }
}

TEST(UpdateNow, AnsweringNoRequestsAndStartsNothing) {
    UpdaterFixture f;
    f.serve("1.3");
    f.start();
    f.editor.dialogs.answer({Dialogs::Answer::No});
    ASSERT_TRUE(f.updateNow());
    QTest::qWait(50);

    EXPECT_EQ(f.editor.dialogs.questions, QStringList({kQuestion}));
    EXPECT_TRUE(f.server.requests.isEmpty());
    EXPECT_TRUE(f.started().isEmpty());
    EXPECT_EQ(f.terminated, 0);
}

struct VersionCase {
    const char* local;
    QByteArray server;
    bool downloads;
};

TEST(UpdateNow, TheUpdaterIsDownloadedWhenTheServersIsNewerAndThenStartedTwice) {
    const VersionCase cases[] = {
        {"1.2", "1.3", true},  {"1.3", "1.3", false}, {"1.10", "1.9", false},
        {"1.17", "2.0", true}, {"", "1.3\n", true},  // a version record that cannot be read
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(std::string(c.local) + " / " + c.server.toStdString());
        UpdaterFixture f;
        f.placeUpdater(c.local);
        f.serve(c.server);
        f.start();
        ASSERT_TRUE(f.updateNow());

        EXPECT_EQ(f.editor.dialogs.questions, QStringList({kQuestion}));
        EXPECT_EQ(EditorHarness::readFile(f.updater()), QByteArray("old updater"));
        if (c.downloads) {
            EXPECT_EQ(f.server.requests, QStringList({kVersionPath, kProgramPath}));
            EXPECT_EQ(EditorHarness::readFile(f.downloaded()), kProgram);
            EXPECT_EQ(f.editor.dialogs.messages, QStringList({kDownloaded}));
            expectStarts(f, {"", f.parameters()});
        } else {
            EXPECT_EQ(f.server.requests, QStringList({kVersionPath}));
            EXPECT_FALSE(QFileInfo::exists(f.downloaded()));
            EXPECT_TRUE(f.editor.dialogs.messages.isEmpty());
            expectStarts(f, {f.parameters()});
        }
        EXPECT_EQ(f.terminated, 1);
    }
}

TEST(UpdateNow, ConsoleTellsEachStepOfTheUpdatersCheck) {
    UpdaterFixture f;
    f.placeUpdater("1.2");
    f.serve("1.3");
    f.start();
    ASSERT_TRUE(f.updateNow());
    EXPECT_EQ(
        f.editor.consoleLines(),
        QStringList({"updater version on server: 1.3", "local updater exists, check version...",
                     "currentUpdaterVersion: 1.2", "1.3", "1.2",
                     "New version of the updater found on server, downloading the new "
                     "updater..."}));
}

TEST(UpdateNow, WithoutALocalUpdaterTheDownloadBecomesTheUpdaterWhateverTheServersVersion) {
    UpdaterFixture f;
    f.server.route(kVersionPath, {.status = 404, .reason = "Not Found"});
    f.server.answer(kProgramPath, kProgram);
    f.start();
    ASSERT_TRUE(f.updateNow());

    EXPECT_EQ(f.server.requests, QStringList({kVersionPath, kProgramPath}));
    EXPECT_EQ(f.editor.dialogs.messages, QStringList({"Error: Not Found", kDownloaded}));
    EXPECT_EQ(EditorHarness::readFile(f.updater()), kProgram);
    EXPECT_EQ(f.programFolderEntries(), QStringList({"Varkunda_Win_Updater.exe"}));
    EXPECT_TRUE(
        f.editor.consoleLines().contains("Local updater not found, proceed with download..."));
    expectStarts(f, {"", f.parameters()});
    EXPECT_EQ(f.terminated, 1);
}

struct DownloadFailure {
    const char* name;
    Route route;
    const char* message;  // the whole message, or its start when it ends in ": "
};

// An error page or a cut download is never stored: the files beside the editor stay
// as they were, and the existing updater is started as it is.
TEST(UpdateNow, AFailedDownloadLeavesTheFilesAsTheyWereAndStartsTheOldUpdater) {
    const DownloadFailure cases[] = {
        {"not found",
         {.status = 404, .reason = "Not Found", .body = "<html>gone</html>"},
         "Download failed: 404 Not Found"},
        {"server error",
         {.status = 500, .reason = "Internal Server Error", .body = "oops"},
         "Download failed: 500 Internal Server Error"},
        {"empty", {.body = ""}, "Download failed: the server sent an empty file"},
        {"dropped", {.behaviour = Behaviour::Drop}, "Download failed: "},
        {"cut", {.body = kProgram, .behaviour = Behaviour::CloseMidBody}, "Download failed: "},
    };
    for (const DownloadFailure& c : cases) {
        SCOPED_TRACE(c.name);
        UpdaterFixture f;
        f.placeUpdater("1.2");
        EditorHarness::writeFile(f.downloaded(), "earlier download");
        f.server.answer(kVersionPath, "1.3");
        f.server.route(kProgramPath, c.route);
        f.start();
        ASSERT_TRUE(f.updateNow());

        ASSERT_EQ(f.editor.dialogs.messages.size(), 1);
        const QString message = f.editor.dialogs.messages[0];
        if (QString(c.message).endsWith(": ")) {
            EXPECT_TRUE(message.startsWith(c.message) && message.size() > 18)
                << message.toStdString();
        } else {
            EXPECT_EQ(message, c.message);
        }
        EXPECT_EQ(EditorHarness::readFile(f.updater()), QByteArray("old updater"));
        EXPECT_EQ(EditorHarness::readFile(f.downloaded()), QByteArray("earlier download"));
        EXPECT_EQ(f.programFolderEntries(),
                  QStringList({"Varkunda_Win_Updater.exe", "Varkunda_Win_Updater_Update.exe"}));
        expectStarts(f, {f.parameters()});
        EXPECT_EQ(f.terminated, 1);
    }
}

TEST(UpdateNow, ADownloadThatCannotBeStoredIsAFailedDownload) {
    UpdaterFixture f;
    f.placeUpdater("1.2");
    QDir().mkpath(f.downloaded());  // a folder where the download should go
    f.serve("1.3");
    f.start();
    ASSERT_TRUE(f.updateNow());

    ASSERT_EQ(f.editor.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.editor.dialogs.messages[0].startsWith("Download failed: "));
    EXPECT_TRUE(f.editor.dialogs.messages[0].contains("Varkunda_Win_Updater_Update.exe"));
    EXPECT_TRUE(QFileInfo(f.downloaded()).isDir());
    EXPECT_EQ(EditorHarness::readFile(f.updater()), QByteArray("old updater"));
    expectStarts(f, {f.parameters()});
}

TEST(UpdateNow, NoUpdaterAndNoDownloadEndsTheActionWithTheEditorOpen) {
    UpdaterFixture f;
    f.server.answer(kVersionPath, "1.3");
    f.server.route(kProgramPath, {.status = 404, .reason = "Not Found"});
    f.start();
    ASSERT_TRUE(f.updateNow());

    EXPECT_EQ(f.editor.dialogs.messages, QStringList({"Download failed: 404 Not Found"}));
    EXPECT_TRUE(f.programFolderEntries().isEmpty());
    EXPECT_TRUE(f.started().isEmpty());
    EXPECT_EQ(f.terminated, 0);
}

// Without the server's version a present updater is neither replaced nor started.
TEST(UpdateNow, AnUpdaterVersionThatCannotBeHadIsShownAndTheEditorStaysOpen) {
    const std::pair<Route, const char*> cases[] = {
        {{.status = 500, .reason = "Internal Server Error"}, "Error: Internal Server Error"},
        {{.body = "<html>"}, "Error: the server's updater version \"<html>\" is not a version"},
        {{.behaviour = Behaviour::Drop}, "Error: "},
    };
    for (const auto& [route, message] : cases) {
        SCOPED_TRACE(message);
        UpdaterFixture f;
        f.placeUpdater("1.2");
        f.server.route(kVersionPath, route);
        f.server.answer(kProgramPath, kProgram);
        f.start();
        ASSERT_TRUE(f.updateNow());

        ASSERT_EQ(f.editor.dialogs.messages.size(), 1);
        EXPECT_TRUE(f.editor.dialogs.messages[0].startsWith(message))
            << f.editor.dialogs.messages[0].toStdString();
        EXPECT_FALSE(f.server.requests.contains(kProgramPath));
        EXPECT_FALSE(QFileInfo::exists(f.downloaded()));
        EXPECT_TRUE(f.started().isEmpty());
        EXPECT_EQ(f.terminated, 0);
    }
}

TEST(UpdateNow, AnUpdaterThatDoesNotStartLeavesTheEditorOpen) {
    UpdaterFixture f;
    f.placeUpdater("1.3");
    f.serve("1.3");
    f.editor.shell.succeeds = false;
    f.start();
    ASSERT_TRUE(f.updateNow());

    EXPECT_EQ(f.editor.dialogs.messages,
              QStringList({"Failed to launch updater. Please run as administrator."}));
    expectStarts(f, {f.parameters()});
    EXPECT_EQ(f.terminated, 0);
}

TEST(UpdateNow, PathsWithBlanksAndQuotesReachTheUpdaterWhole) {
    UpdaterFixture f;
    f.editor.folders.renameFolders("Temp \"x\" dir", "Program Files/Varkunda \"Q\" Editor");
    f.editor.folders.programName = "Varkunda Editor";
    f.placeUpdater("1.3");
    f.serve("1.3");
    f.start();
    ASSERT_TRUE(f.updateNow());

    ASSERT_EQ(f.started().size(), 1);
    EXPECT_EQ(f.started()[0].program, f.updater());
    const QString temporary =
        QDir(f.editor.folders.temporary()).filePath("Varkunda_Editor_Update.exe");
    const QString editorFile = f.editor.folders.programFile();
    EXPECT_EQ(f.started()[0].parameters, "\"" + QString(temporary).replace("\"", "\\\"") + "\" \"" +
                                             QString(editorFile).replace("\"", "\\\"") + "\"");
    EXPECT_TRUE(editorFile.contains("Varkunda \"Q\" Editor/Varkunda Editor"));
}

TEST(UpdateNow, WhereNoUpdaterCanRunTheReleaseNotesOpenInstead) {
    UpdaterFixture f;
    f.serve("1.3");
    f.editor.shell.elevation = false;
    f.start();
    ASSERT_TRUE(f.updateNow());

    EXPECT_EQ(f.editor.dialogs.questions, QStringList({kQuestion}));
    EXPECT_EQ(f.editor.shell.openedUrls,
              QStringList({f.server.url("/download/update/whatsnew.html")}));
    EXPECT_TRUE(f.server.requests.isEmpty());
    EXPECT_TRUE(f.started().isEmpty());
    EXPECT_EQ(f.terminated, 0);
}

TEST(UpdateNow, ASecondClickWhileTheUpdateRunsIsIgnored) {
    UpdaterFixture f;
    f.placeUpdater("1.3");
    f.server.route(kVersionPath, {.body = "1.3", .delayMs = 300});
    f.start();
    f.editor.main().menuUpdateNowClick();
    ASSERT_TRUE(f.editor.app().formUpdateUpdater().updateRunning());
    ASSERT_TRUE(f.updateNow());

    EXPECT_EQ(f.editor.dialogs.questions.size(), 1);
    EXPECT_TRUE(f.editor.consoleLines().contains("An update is already under way"));
    EXPECT_EQ(f.server.requests, QStringList({kVersionPath}));
    EXPECT_EQ(f.started().size(), 1);
}

}  // namespace
