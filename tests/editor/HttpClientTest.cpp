// The HTTP client behind the update service, against a loopback server: what counts as
// an answer, and the time and size limits.
#include <gtest/gtest.h>

#include <QTest>
#include <optional>

#include "LoopbackHttpServer.h"
#include "platform/QtHttpClient.h"

namespace {

using namespace std::chrono_literals;
using Behaviour = LoopbackHttpServer::Behaviour;
using Route = LoopbackHttpServer::Route;

HttpResponse fetch(HttpClient& client, const HttpClient::Request& request) {
    std::optional<HttpResponse> result;
    client.get(request, [&result](const HttpResponse& response) { result = response; });
    EXPECT_FALSE(result.has_value()) << "called back from inside get()";
    EXPECT_TRUE(QTest::qWaitFor([&result] { return result.has_value(); }, 15000));
    return result.value_or(HttpResponse{});
}

struct AnswerCase {
    const char* name;
    Route route;
    bool answered;
    int status;
    const char* statusText;
    const char* errorPart;
    std::chrono::milliseconds limit = 10s;
};

TEST(HttpClient, AnAnswerHasAStatusAndAWholeBodyEverythingElseIsAFailure) {
    const AnswerCase cases[] = {
        {"version", {.body = "1.18\n"}, true, 200, "OK", ""},
        {"not found",
         {.status = 404, .reason = "Not Found", .body = "<html>gone</html>"},
         true,
         404,
         "Not Found",
         ""},
        {"server error",
         {.status = 500, .reason = "Internal Server Error"},
         true,
         500,
         "Internal Server Error",
         ""},
        {"dropped", {.behaviour = Behaviour::Drop}, false, 0, "", ""},
        {"cut body", {.body = "1.1", .behaviour = Behaviour::CloseMidBody}, false, 0, "", ""},
        {"late", {.body = "1.18", .delayMs = 5000}, false, 0, "", "no answer within 0.5 s", 500ms},
        {"too large", {.body = QByteArray(300, 'x')}, false, 0, "", "larger than 100 bytes"},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.route("/v", c.route);
        QtHttpClient client(c.limit);
        const HttpResponse response =
            fetch(client, {QUrl(server.url("/v")), HttpClient::Limit::WholeAnswer, 100});
        EXPECT_EQ(response.answered, c.answered);
        EXPECT_EQ(response.status, c.status);
        EXPECT_EQ(response.statusText, c.statusText);
        if (c.answered) {
            EXPECT_EQ(response.body, c.route.body);
            EXPECT_TRUE(response.error.isEmpty());
        } else {
            EXPECT_TRUE(response.body.isEmpty());
            EXPECT_FALSE(response.error.isEmpty());
            EXPECT_TRUE(response.error.contains(c.errorPart)) << response.error.toStdString();
        }
    }
}

TEST(HttpClient, NothingListeningIsAFailureWithTheReason) {
    QtHttpClient client(2000ms);
    const HttpResponse response = fetch(client, {QUrl(LoopbackHttpServer::deadAddress() + "/v")});
    EXPECT_FALSE(response.answered);
    EXPECT_TRUE(response.error.contains("refused", Qt::CaseInsensitive))
        << response.error.toStdString();
}

// Five pieces 400 ms apart: too slow as a whole for 1.2 s, never silent that long.
TEST(HttpClient, ADownloadMayTakeLongerThanTheLimitWhileDataKeepsComing) {
    LoopbackHttpServer server;
    const QByteArray program(5000, 'p');
    server.route("/file", {.body = program, .trickleMs = 400});
    QtHttpClient client(1200ms);

    const HttpResponse whole =
        fetch(client, {QUrl(server.url("/file")), HttpClient::Limit::WholeAnswer, 1 << 20});
    EXPECT_FALSE(whole.answered);
    EXPECT_EQ(whole.error, "no answer within 1.2 s");

    const HttpResponse between =
        fetch(client, {QUrl(server.url("/file")), HttpClient::Limit::BetweenData, 1 << 20});
    EXPECT_TRUE(between.answered) << between.error.toStdString();
    EXPECT_EQ(between.body, program);
}

TEST(HttpClient, ARequestStillRunningWhenTheClientGoesNeverCallsBack) {
    LoopbackHttpServer server;
    server.route("/v", {.body = "1.18", .delayMs = 200});
    int calls = 0;
    {
        QtHttpClient client(2000ms);
        client.get({QUrl(server.url("/v"))}, [&calls](const HttpResponse&) { ++calls; });
        ASSERT_TRUE(QTest::qWaitFor([&server] { return !server.requests.isEmpty(); }, 5000));
    }
    QTest::qWait(400);
    EXPECT_EQ(server.requests, QStringList({"/v"}));
    EXPECT_EQ(calls, 0);
}

}  // namespace
