// The main window's update service: the editor version check, the Info menu and the
// updater launch.
#include <QAction>
#include <QPointer>
#include <QTimer>

#include "app/EditorContext.h"
#include "app/SettingsFiles.h"
#include "app/TformMain.h"
#include "platform/Dialogs.h"
#include "platform/HttpClient.h"
#include "platform/Shell.h"
#include "update/TformNewVersionMsg.h"
#include "update/TformUpdateUpdater.h"
#include "update/UpdateResponses.h"
#include "update/UpdateServer.h"

using namespace updateresponse;

void TformMain::OpenURL(const QString& url) {
    if (!context_.shell.openUrl(url))
        context_.ConsolePrint(QStringLiteral("Could not open %1 in the web browser").arg(url));
}

// The check runs once, one second after start-up.
void TformMain::PrepareWebVersionCheck() {
    TimerCheckWebVersion->setSingleShot(true);
    TimerCheckWebVersion->start();
}

// Asks the server for the newest editor version. The answer arrives later, so the
// window keeps working while the server is slow or unreachable.
void TformMain::checkmostrecentversiononwebsite() {
    TimerCheckWebVersion->stop();
    const UpdateServer server(context_.UpdateServerAddress);
    if (!server.usable()) {
        context_.ConsolePrint(QStringLiteral("Version check skipped: ") + server.refusal());
        return;
    }
    QPointer<TformMain> self(this);
    NetHTTPClient1->get({server.address(updatepaths::kEditorVersion),
                         HttpClient::Limit::WholeAnswer, kVersionBodyLimit},
                        [self](const HttpResponse& response) {
                            if (self) self->WebRequestCompleted(response);
                        });
}

// Nobody asked for this check: whatever goes wrong is a console line, and the Info
// menu keeps its captions.
void TformMain::WebRequestCompleted(const HttpResponse& AResponse) {
    if (!AResponse.answered) {
        context_.ConsolePrint(QStringLiteral("Version check failed: ") + AResponse.error);
        return;
    }
    if (AResponse.status != 200) {
        context_.ConsolePrint(QStringLiteral("Version check: Error: ") + StatusText(AResponse));
        return;
    }
    context_.ConsolePrint(QStringLiteral("currentAppVersion: ") + CurrentAppVersionText);
    context_.ConsolePrint(QStringLiteral("newAppVersion: ") + BodyLine(AResponse.body));
    ShowWebVersion(AResponse.body);
}

void TformMain::ShowWebVersion(const QByteArray& body) {
    const auto server = VersionOf(body);
    if (!server) {
        context_.ConsolePrint(QStringLiteral("Version check: the server's answer \"%1\" is not a "
                                             "version")
                                  .arg(BodyLine(body)));
        return;
    }
    const auto current = varkunda::protocol::ParseVersionText(CurrentAppVersionText.toStdString());
    if (!current) {
        context_.ConsolePrint(QStringLiteral("Version check: the editor's own version \"%1\" "
                                             "cannot be compared")
                                  .arg(CurrentAppVersionText));
        return;
    }
    ServerAppVersionText = BodyLine(body);
    if (*server > *current) {
        menuNewAppVersion->setText(menuNewAppVersion->text() + QStringLiteral(" ") +
                                   ServerAppVersionText);
        if (context_.ShowUpdateMsgAtStartup && context_.formNewVersionMsg)
            context_.formNewVersionMsg->show();
        menuUpdateNow->setEnabled(true);
    } else {
        menuNewAppVersion->setText(QStringLiteral("No update available"));
        menuUpdateNow->setEnabled(false);
    }
}

void TformMain::menuInfoClick() {
    context_.ConsolePrint(QStringLiteral("current app version: ") + CurrentAppVersionText);
}

void TformMain::menuSupportClick() {
    const UpdateServer server(context_.UpdateServerAddress);
    if (!server.usable()) {
        context_.dialogs.showMessage(QStringLiteral("The support page cannot be opened: ") +
                                     server.refusal() + QStringLiteral("."));
        return;
    }
    OpenURL(server.address(updatepaths::kSupport).toString());
}

void TformMain::menuUpdateNowClick() {
    if (context_.formUpdateUpdater) context_.formUpdateUpdater->LaunchEditorUpdate();
}

// The click has already toggled the check mark. The choice is stored only when the
// preference file exists and takes effect at the next start. A choice that could not
// be stored is taken back.
void TformMain::menuShowUpdateMsgClick() {
    const bool show = menuShowUpdateMsg->isChecked();
    const auto result =
        ReplaceExistingSettingFile(context_, settings::kShowUpdateMessageFile,
                                   show ? QStringLiteral("YES") : QStringLiteral("NO"));
    if (result == ReplaceResult::Failed) menuShowUpdateMsg->setChecked(!show);
}
