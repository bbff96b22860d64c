#pragma once

#include <QObject>
#include <chrono>

#include "platform/HttpClient.h"

class QNetworkAccessManager;
class QNetworkReply;

// HTTP requests through QNetworkAccessManager, each ended after the time limit.
// Requests still running when the client goes are dropped without calling back.
class QtHttpClient : public HttpClient {
public:
    static constexpr std::chrono::milliseconds kTimeLimit{10000};

    explicit QtHttpClient(std::chrono::milliseconds timeLimit = kTimeLimit);
    ~QtHttpClient() override;

    void get(const Request& request, Done done) override;

private:
    void watch(QNetworkReply* reply, const Request& request, Done done);

    std::chrono::milliseconds timeLimit_;
    // Owns the manager and every reply; the callbacks are connected with it as context,
    // so none runs once it is gone.
    QObject context_;
    QNetworkAccessManager* manager_;
};
