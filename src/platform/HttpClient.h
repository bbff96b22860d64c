#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

// What came back for one GET request.
struct HttpResponse {
    // True when the server answered with an HTTP status and the whole body arrived;
    // false when the request failed without one (no network, name not resolved, TLS
    // failure, connection lost, time limit).
    bool answered = false;
    int status = 0;
    QString statusText;
    QByteArray body;
    // Why there is no answer; empty when answered.
    QString error;
};

// Plain GET requests without query or body, with the client's default headers. They
// never block: the answer arrives later, from the event loop.
class HttpClient {
public:
    // What the time limit measures: the whole exchange (short texts), or the silence
    // between two pieces of the answer (downloads).
    enum class Limit { WholeAnswer, BetweenData };

    struct Request {
        QUrl url;
        Limit limit = Limit::WholeAnswer;
        // A longer body ends the request as failed.
        qint64 maxBodyBytes = 4096;
    };
    using Done = std::function<void(const HttpResponse&)>;

    virtual ~HttpClient() = default;
    // `done` is called exactly once, never from inside get().
    virtual void get(const Request& request, Done done) = 0;
};
