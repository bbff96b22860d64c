#include "update/TformUpdateUpdater.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "platform/Dialogs.h"
#include "platform/HttpClient.h"
#include "platform/KnownFolders.h"
#include "platform/Shell.h"
#include "protocol/UpdaterCommandLine.h"
#include "update/UpdateResponses.h"
#include "update/UpdateServer.h"

using namespace updateresponse;
using varkunda::protocol::FormatVersion;

namespace {
const QString kQuestion = QStringLiteral(
    "This action will update the Varkunda Editor to the latest version. Do you want to "
    "continue?");

std::string nativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }
}  // namespace

TformUpdateUpdater::TformUpdateUpdater(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("UpdateUpdater"));
    Terminate = [] { QCoreApplication::exit(0); };
}

QString TformUpdateUpdater::UpdaterPath() const {
    return QDir(context_.folders.programFolder()).filePath(kUpdaterFile);
}

void TformUpdateUpdater::LaunchEditorUpdate() {
    if (running_) {
        context_.ConsolePrint(QStringLiteral("An update is already under way"));
        return;
    }
    if (context_.dialogs.askYesNo(kQuestion) == Dialogs::Answer::No) return;
    const UpdateServer server(context_.UpdateServerAddress);
    if (!server.usable()) {
        context_.dialogs.showMessage(QStringLiteral("The update cannot start: ") +
                                     server.refusal() + QStringLiteral("."));
        return;
    }
    if (!context_.shell.canStartElevated()) {
        // There is no updater program for this platform: the release notes say where
        // the new editor is.
        if (context_.formMain)
            context_.formMain->OpenURL(server.address(updatepaths::kReleaseNotes).toString());
        return;
    }
    running_ = true;
    UpdateUpdater();
}

void TformUpdateUpdater::UpdateUpdater() {
    ServerUpdaterVersionText.clear();
    const UpdateServer server(context_.UpdateServerAddress);
    QPointer<TformUpdateUpdater> self(this);
    context_.http->get({server.address(updatepaths::kUpdaterVersion),
                        HttpClient::Limit::WholeAnswer, kVersionBodyLimit},
                       [self](const HttpResponse& response) {
                           if (self) self->NetHTTPRequest1RequestCompleted(response);
                       });
}

// The player asked for this update: a version that cannot be had is shown in a box.
// Without the server's version a present updater is left as it is and the action
// ends; a missing one is downloaded all the same.
void TformUpdateUpdater::NetHTTPRequest1RequestCompleted(const HttpResponse& AResponse) {
    std::optional<varkunda::protocol::VersionNumber> server;
    if (!AResponse.answered) {
        context_.ConsolePrint(QStringLiteral("Updater version check failed: ") + AResponse.error);
        context_.dialogs.showMessage(QStringLiteral("Error: ") + AResponse.error);
    } else if (AResponse.status != 200) {
        context_.dialogs.showMessage(QStringLiteral("Error: ") + StatusText(AResponse));
    } else {
        ServerUpdaterVersionText = BodyLine(AResponse.body);
        context_.ConsolePrint(QStringLiteral("updater version on server: ") +
                              ServerUpdaterVersionText);
        server = VersionOf(AResponse.body);
        if (!server)
            context_.dialogs.showMessage(
                QStringLiteral("Error: the server's updater version \"%1\" is not a version")
                    .arg(ServerUpdaterVersionText));
    }

    if (!QFileInfo::exists(UpdaterPath())) {
        context_.ConsolePrint(QStringLiteral("Local updater not found, proceed with download..."));
        DownloadUpdater();
        return;
    }
    context_.ConsolePrint(QStringLiteral("local updater exists, check version..."));
    const QString localText = context_.folders.fileVersion(UpdaterPath());
    context_.ConsolePrint(QStringLiteral("currentUpdaterVersion: ") + localText);
    if (!server) {
        running_ = false;
        return;
    }
    const auto local = varkunda::protocol::ParseVersionText(localText.toStdString());
    context_.ConsolePrint(QString::fromStdString(FormatVersion(*server)));
    context_.ConsolePrint(local ? QString::fromStdString(FormatVersion(*local))
                                : QStringLiteral("unknown"));
    if (local && *server <= *local) {
        StartUpdaterWithPaths();
        return;
    }
    context_.ConsolePrint(
        local ? QStringLiteral(
                    "New version of the updater found on server, downloading the new updater...")
              : QStringLiteral("The local updater's version cannot be read, downloading the "
                               "updater..."));
    DownloadUpdater();
}

void TformUpdateUpdater::DownloadUpdater() {
    const UpdateServer server(context_.UpdateServerAddress);
    QPointer<TformUpdateUpdater> self(this);
    context_.http->get({server.address(updatepaths::kUpdaterProgram),
                        HttpClient::Limit::BetweenData, kUpdaterBodyLimit},
                       [self](const HttpResponse& response) {
                           if (self) self->DownloadCompleted(response);
                       });
}

// Only a complete program answered with 200 is stored; on any failure the files in
// the editor's folder stay as they were and the existing updater, if any, is started.
void TformUpdateUpdater::DownloadCompleted(const HttpResponse& AResponse) {
    QString failure;
    if (!AResponse.answered)
        failure = AResponse.error;
    else if (AResponse.status != 200)
        failure = QStringLiteral("%1 %2").arg(AResponse.status).arg(AResponse.statusText).trimmed();
    else if (AResponse.body.isEmpty())
        failure = QStringLiteral("the server sent an empty file");
    else
        StoreDownloadedUpdater(AResponse.body, failure);

    if (!failure.isEmpty()) {
        context_.dialogs.showMessage(QStringLiteral("Download failed: ") + failure);
        if (QFileInfo::exists(UpdaterPath()))
            StartUpdaterWithPaths();
        else
            running_ = false;
        return;
    }
    context_.dialogs.showMessage(
        QStringLiteral("New updater downloaded! Click OK to proceed with the update."));
    if (!context_.shell.startElevated(QDir::toNativeSeparators(UpdaterPath()), QString()))
        context_.ConsolePrint(QStringLiteral("The new updater did not start"));
    StartUpdaterWithPaths();
}

// Written under a temporary name in the editor's folder and renamed once complete.
// Beside an existing updater the download waits as "Varkunda_Win_Updater_Update.exe"
// for the updater to take it; with no updater there it becomes the updater.
bool TformUpdateUpdater::StoreDownloadedUpdater(const QByteArray& program, QString& failure) {
    const QString target =
        QFileInfo::exists(UpdaterPath())
            ? QDir(context_.folders.programFolder()).filePath(kDownloadedUpdaterFile)
            : UpdaterPath();
    QSaveFile file(target);
    if (file.open(QIODevice::WriteOnly) && file.write(program) == program.size() && file.commit())
        return true;
    failure = QStringLiteral("%1 (%2)").arg(file.errorString(), QDir::toNativeSeparators(target));
    return false;
}

void TformUpdateUpdater::StartUpdaterWithPaths() {
    const QString newEditor = QDir(context_.folders.temporary()).filePath(kNewEditorFile);
    const bool started = RunUpdater(UpdaterPath(), newEditor, context_.folders.programFile());
    running_ = false;
    if (started) Terminate();
}

bool TformUpdateUpdater::RunUpdater(const QString& updaterPath, const QString& newEditorPath,
                                    const QString& editorPath) {
    const std::string parameters =
        varkunda::protocol::UpdaterParameterText(nativePath(newEditorPath), nativePath(editorPath));
    if (context_.shell.startElevated(QDir::toNativeSeparators(updaterPath),
                                     QString::fromStdString(parameters)))
        return true;
    context_.dialogs.showMessage(
        QStringLiteral("Failed to launch updater. Please run as administrator."));
    return false;
}
