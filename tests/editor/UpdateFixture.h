#pragma once

// An editor whose update server is a loopback server, with the Part's own version
// numbers: the tests set the editor's version after start-up (the build's is 1.0).

#include <QTest>
#include <optional>

#include "EditorHarness.h"
#include "LoopbackHttpServer.h"
#include "platform/HttpClient.h"
#include "update/TformUpdateUpdater.h"
#include "update/UpdateServer.h"

// Records the requests and never answers.
class RecordingHttpClient : public HttpClient {
public:
    void get(const Request& request, Done) override { requested.append(request.url); }
    QList<QUrl> requested;
};

struct UpdateFixture {
    UpdateFixture() { editor.updateServer = server.baseAddress(); }

    void start(const QString& currentVersion = QStringLiteral("1.17")) {
        editor.start();
        editor.main().CurrentAppVersionText = currentVersion;
        editor.app().formUpdateUpdater().Terminate = [this] { ++terminated; };
    }

    // Runs the version check and waits for the console lines it ends with.
    bool runCheck() {
        editor.main().checkmostrecentversiononwebsite();
        return QTest::qWaitFor([this] { return !editor.consoleLines().isEmpty(); }, 15000);
    }

    // Runs Update Now and waits until the action has ended.
    bool updateNow() {
        editor.main().menuUpdateNowClick();
        return QTest::qWaitFor([this] { return !editor.app().formUpdateUpdater().updateRunning(); },
                               15000);
    }

    LoopbackHttpServer server;
    EditorHarness editor;
    int terminated = 0;
};
