#include "update/UpdateServer.h"

#include <QHostAddress>

#ifndef VARKUNDA_UPDATE_SERVER_DEFAULT
#define VARKUNDA_UPDATE_SERVER_DEFAULT ""
#endif

namespace {
bool isLoopbackHost(const QString& host) {
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString refusalOf(const QUrl& base, const QString& text) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("no update server is configured (VARKUNDA_UPDATE_SERVER)");
    if (!base.isValid() || base.host().isEmpty() || base.hasQuery() || base.hasFragment())
        return QStringLiteral("the update server \"%1\" is not a web address").arg(text);
    const QString scheme = base.scheme().toLower();
    if (scheme == QStringLiteral("https")) return {};
    if (scheme == QStringLiteral("http") && isLoopbackHost(base.host())) return {};
    return QStringLiteral(
               "the update server \"%1\" is refused: only https:// may be used "
               "outside this computer")
        .arg(text);
}
}  // namespace

QString UpdateServer::ConfiguredBaseAddress() {
    if (qEnvironmentVariableIsSet("VARKUNDA_UPDATE_SERVER"))
        return qEnvironmentVariable("VARKUNDA_UPDATE_SERVER");
    return QStringLiteral(VARKUNDA_UPDATE_SERVER_DEFAULT);
}

UpdateServer::UpdateServer(const QString& baseAddress)
    : base_(baseAddress.trimmed(), QUrl::StrictMode) {
    refusal_ = refusalOf(base_, baseAddress);
}

QUrl UpdateServer::address(const char* path) const {
    QUrl url = base_;
    QString prefix = base_.path();
    while (prefix.endsWith(u'/')) prefix.chop(1);
    url.setPath(prefix + QString::fromLatin1(path));
    return url;
}
