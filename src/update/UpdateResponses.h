#pragma once

#include <QString>
#include <optional>

#include "platform/HttpClient.h"
#include "protocol/VersionText.h"

// How the update service reads the server's answers.
namespace updateresponse {

// Larger answers end the request: a version text is a few bytes, the updater a few
// megabytes.
inline constexpr qint64 kVersionBodyLimit = 64 * 1024;
inline constexpr qint64 kUpdaterBodyLimit = 64 * 1024 * 1024;

// The response's status text; its number when the server sent no text (HTTP/2 has none).
QString StatusText(const HttpResponse& response);

// The version a body holds, read as major and minor numbers.
std::optional<varkunda::protocol::VersionNumber> VersionOf(const QByteArray& body);

// The body as one short line for captions and console lines: without the blanks
// around it, inner line breaks as blanks, at most 60 characters.
QString BodyLine(const QByteArray& body);

}  // namespace updateresponse
