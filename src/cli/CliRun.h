#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

namespace varkunda::link {
class D2xx;
class LinkEnvironment;
}  // namespace varkunda::link

namespace varkunda::cli {

// The tool's exit statuses.
namespace exitstatus {
inline constexpr int kDone = 0;
inline constexpr int kUsage = 1;
inline constexpr int kNoDevice = 2;  // no device, or the device was lost
inline constexpr int kNoAnswer = 3;  // the pedal did not answer or refused
inline constexpr int kBadInputFile = 4;
}  // namespace exitstatus

// What tests put in place of the device chosen on the command line and of the real clock,
// and what the program tells about its surroundings.
struct CliInjection {
    link::D2xx* device = nullptr;
    link::LinkEnvironment* environment = nullptr;
    // stderr is a terminal: progress is shown on one updating line.
    bool errIsTerminal = false;
    // Asked between reads by commands that run until stopped (log): true ends them.
    // Unset: SIGINT or SIGTERM ends them.
    std::function<bool()> stopRequested{};
};

// Runs one command line (the program name first) and returns its exit status. Data goes
// to `out`, messages to `err`.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           const CliInjection& injection = {});

}  // namespace varkunda::cli
