#pragma once

// The access layer on a driver of the test's choice, a transport on the fake clock, and
// a record of everything they reported and logged: the one fixture of the link tests.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "link/D2xxAccess.h"
#include "link/LinkEnvironment.h"
#include "link/LinkError.h"
#include "link/Transport.h"

namespace varkunda::link {

inline void PrintTo(const LinkError& error, std::ostream* out) {
    *out << "{kind " << static_cast<int>(error.kind) << ", status " << error.driverStatus
         << ", call \"" << error.call << "\", device \"" << error.device << "\", detail \""
         << error.detail << "\", " << error.reached << " of " << error.expected << "}";
}

namespace testing {

// A driver call that failed, as the access layer reports it.
inline LinkError FailedCall(std::string call, FtStatus status,
                            LinkErrorKind kind = LinkErrorKind::DriverCall) {
    LinkError error;
    error.kind = kind;
    error.driverStatus = status;
    error.call = std::move(call);
    return error;
}

template <typename Driver>
class LinkFixture : public ::testing::Test {
  protected:
    LinkFixture() {
        access.setErrorReporter([this](const LinkError& error) { reports.push_back(error); });
        access.setDeviceLostHandler([this](const LinkError& error) { lost.push_back(error); });
    }

    // `printed` and `direct` keep the two kinds of log line apart; `lines` has them all in
    // order, the direct ones marked "direct ".
    LinkLog RecordingLog() {
        LinkLog log;
        log.print = [this](const std::string& line) {
            printed.push_back(line);
            lines.push_back(line);
        };
        log.appendDirect = [this](const std::string& line) {
            direct.push_back(line);
            lines.push_back("direct " + line);
        };
        log.printLines = [this](const std::vector<std::string>& block) {
            printed.insert(printed.end(), block.begin(), block.end());
            lines.insert(lines.end(), block.begin(), block.end());
            ++blocks;
        };
        return log;
    }

    Driver driver;
    D2xxAccess access{driver};
    FakeLinkEnvironment environment;
    std::vector<LinkError> reports;  // what the access layer showed
    std::vector<LinkError> lost;     // what the device-lost handler was given
    std::vector<std::string> printed, direct, lines;
    int blocks = 0;
    Transport transport{access, environment, RecordingLog()};
};

}  // namespace testing
}  // namespace varkunda::link
