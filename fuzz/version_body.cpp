// The update service's reading of the server's version answer: any body the server, a
// proxy or a captive portal may send.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "protocol/VersionText.h"
#include "update/UpdateResponses.h"

namespace protocol = varkunda::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const auto version = updateresponse::VersionOf(body);
    FUZZ_CHECK(version == protocol::ParseVersionText(text));
    const std::string_view trimmed = protocol::TrimVersionText(text);
    FUZZ_CHECK(trimmed.data() >= text.data() &&
               trimmed.data() + trimmed.size() <= text.data() + text.size());
    if (version) {
        // Only digits and one dot were read as a version, and the version is its text.
        FUZZ_CHECK(trimmed.find_first_not_of("0123456789.") == std::string_view::npos);
        FUZZ_CHECK(protocol::ParseVersionText(protocol::FormatVersion(*version)) == version);
    }

    // The caption line: one line, short, whatever came.
    const QString line = updateresponse::BodyLine(body);
    FUZZ_CHECK(line.size() <= 63);
    FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')));
    return 0;
}
