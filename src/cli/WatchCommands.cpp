// The commands that watch rather than change: log (what the pedal sends unasked) and
// doctor (why a bridge cannot be reached).

#include <chrono>
#include <csignal>

#include "cli/Commands.h"
#include "cli/PedalSession.h"
#include "frontend/LinkErrorText.h"
#include "link/ConnectionDoctor.h"

namespace varkunda::cli {

namespace {

// As often as the editor's reply timer takes in what the pedal sent.
constexpr std::chrono::milliseconds kLogReadInterval{50};

volatile std::sig_atomic_t stopSignalled = 0;

void RequestStop(int) { stopSignalled = 1; }

// Ctrl+C and SIGTERM end the watch at its next read instead of the program.
std::function<bool()> StopOnSignals() {
    stopSignalled = 0;
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    return [] { return stopSignalled != 0; };
}

// The link's lines once `listening` is set: what it says while it opens is left out.
link::LinkLog LogTo(QTextStream& out, const bool& listening) {
    link::LinkLog log;
    log.print = [&out, &listening](const std::string& line) {
        if (listening) out << QString::fromStdString(line) << '\n' << Qt::flush;
    };
    log.appendDirect = log.print;
    return log;
}

}  // namespace

int LogCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("log"),
                                 QStringLiteral("Prints what the pedal sends unasked, as the "
                                                "editor's console shows it, until Ctrl+C or "
                                                "SIGTERM."),
                                 {}},
                                arguments))
        return *end;
    int status = exitstatus::kDone;
    bool listening = false;
    auto session = PedalSession::CreateLinked(context, status, LogTo(context.out, listening));
    if (!session) return status;
    listening = true;
    const auto stopRequested =
        context.injection.stopRequested ? context.injection.stopRequested : StopOnSignals();
    link::Transport& transport = session->transport();
    while (!stopRequested()) {
        transport.PollDeviceInput();
        if (const auto& loss = transport.access().DeviceLoss())
            return context.Fail(exitstatus::kNoDevice, LinkErrorText(*loss));
        transport.environment().sleep(kLogReadInterval);
    }
    return exitstatus::kDone;
}

int DoctorCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption root(
        QStringLiteral("system-root"),
        QStringLiteral("Examines the system tree under DIR (its sys, dev, proc and etc) instead "
                       "of this machine's."),
        QStringLiteral("DIR"));
    parser.addOption(root);
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("doctor"),
                                 QStringLiteral("Tells why the pedal's USB bridge cannot be "
                                                "reached as a serial port, and the fix; exit "
                                                "status 0 when all is well, else 2."),
                                 {}},
                                arguments))
        return *end;
    link::DoctorSystem system = link::DoctorSystem::ThisMachine();
    if (parser.isSet(root)) {
        system.root = parser.value(root).toStdString();
        system.askKernelForAccess = false;  // the kernel knows only this machine's files
    }
    const link::ConnectionDiagnosis diagnosis = link::DiagnoseConnection(system);
    context.out << QString::fromStdString(diagnosis.finding) << '\n';
    if (!diagnosis.fix.empty()) context.out << QString::fromStdString(diagnosis.fix) << '\n';
    return diagnosis.cause == link::ConnectionCause::AllFine ? exitstatus::kDone
                                                             : exitstatus::kNoDevice;
}

}  // namespace varkunda::cli
