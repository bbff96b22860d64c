#include "update/UpdateResponses.h"

#include <string_view>

namespace updateresponse {

namespace {
constexpr qsizetype kBodyLineLength = 60;

std::string_view viewOf(const QByteArray& body) {
    return std::string_view(body.constData(), static_cast<std::size_t>(body.size()));
}
}  // namespace

QString StatusText(const HttpResponse& response) {
    return response.statusText.isEmpty() ? QString::number(response.status) : response.statusText;
}

std::optional<varkunda::protocol::VersionNumber> VersionOf(const QByteArray& body) {
    return varkunda::protocol::ParseVersionText(viewOf(body));
}

QString BodyLine(const QByteArray& body) {
    const std::string_view trimmed = varkunda::protocol::TrimVersionText(viewOf(body));
    QString line =
        QString::fromUtf8(trimmed.data(), static_cast<qsizetype>(trimmed.size())).simplified();
    if (line.size() > kBodyLineLength) line = line.left(kBodyLineLength) + QStringLiteral("...");
    return line;
}

}  // namespace updateresponse
