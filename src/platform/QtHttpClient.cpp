#include "platform/QtHttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>

namespace {
// The errors Qt reports for an answer whose HTTP status is not a success: the
// server did answer.
bool isStatusOnlyError(QNetworkReply::NetworkError error) {
    if (error == QNetworkReply::NoError) return true;
    if (error == QNetworkReply::ContentReSendError) return false;
    return (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

QString seconds(std::chrono::milliseconds limit) {
    return QString::number(static_cast<double>(limit.count()) / 1000.0);
}

struct Transfer {
    QByteArray body;
    QString failure;
};
}  // namespace

QtHttpClient::QtHttpClient(std::chrono::milliseconds timeLimit)
    : timeLimit_(timeLimit), manager_(new QNetworkAccessManager(&context_)) {}

QtHttpClient::~QtHttpClient() = default;

void QtHttpClient::get(const Request& request, Done done) {
    QNetworkRequest networkRequest(request.url);
    watch(manager_->get(networkRequest), request, std::move(done));
}

void QtHttpClient::watch(QNetworkReply* reply, const Request& request, Done done) {
    auto transfer = std::make_shared<Transfer>();
    auto* limit = new QTimer(reply);
    limit->setSingleShot(true);
    limit->setInterval(timeLimit_);
    const QString limitText =
        request.limit == Limit::WholeAnswer
            ? QStringLiteral("no answer within %1 s").arg(seconds(timeLimit_))
            : QStringLiteral("nothing received for %1 s").arg(seconds(timeLimit_));
    QObject::connect(limit, &QTimer::timeout, &context_, [reply, transfer, limitText] {
        transfer->failure = limitText;
        reply->abort();
    });

    const qint64 maxBody = request.maxBodyBytes;
    const bool restartOnData = request.limit == Limit::BetweenData;
    QObject::connect(reply, &QNetworkReply::readyRead, &context_,
                     [reply, transfer, limit, maxBody, restartOnData] {
                         transfer->body += reply->readAll();
                         if (restartOnData) limit->start();
                         if (transfer->body.size() <= maxBody) return;
                         transfer->failure =
                             QStringLiteral("the answer is larger than %1 bytes").arg(maxBody);
                         reply->abort();
                     });

    QObject::connect(
        reply, &QNetworkReply::finished, &context_,
        [reply, transfer, limit, done = std::move(done)] {
            limit->stop();
            if (transfer->failure.isEmpty()) transfer->body += reply->readAll();
            HttpResponse response;
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            response.answered = transfer->failure.isEmpty() && status.isValid() &&
                                isStatusOnlyError(reply->error());
            if (response.answered) {
                response.status = status.toInt();
                response.statusText = QString::fromUtf8(
                    reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
                response.body = transfer->body;
            } else {
                response.error =
                    transfer->failure.isEmpty() ? reply->errorString() : transfer->failure;
            }
            reply->deleteLater();
            done(response);
        });
    limit->start();
}
