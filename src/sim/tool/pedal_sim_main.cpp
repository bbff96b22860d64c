// varkunda-pedal-sim: serves one software pedal on a pseudo-terminal, which a serial
// port client opens like the pedal's USB serial port. The first line of standard
// output is the terminal's path. Runs until SIGINT or SIGTERM.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/PedalSimulator.h"

namespace {

using varkunda::sim::Fault;
using varkunda::sim::PedalIdentity;
using varkunda::sim::PedalSimulator;

constexpr int kIdleWaitMs = 50;  // nothing on its way
constexpr int kPacedWaitMs = 1;  // bytes are crossing the wire
constexpr std::size_t kChunk = 4096;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

const char kUsage[] =
    "usage: varkunda-pedal-sim [options]\n"
    "Serves a software Varkunda TZ5 pedal on a pseudo-terminal and prints the\n"
    "terminal's path on the first line. Stops on Ctrl+C or SIGTERM.\n"
    "\n"
    "  --serial TEXT     serial number (default VKTZ5001)\n"
    "  --firmware N      firmware version, 0 to 255 (default 13)\n"
    "  --algorithm N     installed algorithm number, 0 to 9999 (default 14)\n"
    "  --effect N        current effect index, 0 to 99 (default 0)\n"
    "  --bootloader      start in the ROM bootloader, as when powered up with SHIFT\n"
    "                    held (8N1 here: a pseudo-terminal carries no parity)\n"
    "  --no-pacing       answer at once instead of at the pace of 115200 baud\n"
    "  --latency-timer MS\n"
    "                    the USB bridge's latency timer, 1 to 255 ms (default 16)\n"
    "  --fault NAME[:N]  spoil the pedal's next reply of its kind: garbage,\n"
    "                    short-reply (N numbers), extra-bytes (N more), split-reply\n"
    "                    (N bytes per read), short-dump (N bytes); silence lasts\n"
    "  --verbose         print what the pedal does on standard error\n"
    "  --help            show this text\n";

struct Options {
    PedalIdentity identity;
    bool bootloader = false;
    bool pacing = true;
    std::chrono::milliseconds latencyTimer = PedalSimulator::kDefaultLatencyTimer;
    bool verbose = false;
    bool help = false;
    std::optional<std::pair<Fault, std::size_t>> fault;
};


std::optional<unsigned long> ParseNumber(const std::string& text, unsigned long max) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    if (errno != 0 || value > max) return std::nullopt;
    return value;
}

// "NAME" or "NAME:N", as --fault takes it.
std::optional<std::pair<Fault, std::size_t>> ParseFault(const std::string& text) {
    static const std::pair<const char*, Fault> kNames[] = {
        {"silence", Fault::Silence},         {"garbage", Fault::Garbage},
        {"short-reply", Fault::ShortReply},  {"extra-bytes", Fault::ExtraBytes},
        {"split-reply", Fault::SplitReply},  {"short-dump", Fault::ShortDump}};
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    std::size_t count = 0;
    if (colon != std::string::npos) {
        const auto number = ParseNumber(text.substr(colon + 1), 1u << 20);
        if (!number) return std::nullopt;
        count = *number;
    }
    for (const auto& [known, fault] : kNames)
        if (name == known) return std::pair{fault, count};
    return std::nullopt;
}

// Fills `options`; on a bad argument returns the message to show.
std::optional<std::string> ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        }
        if (name == "--help") {
            options.help = true;
            continue;
        }
        if (name == "--no-pacing") {
            options.pacing = false;
            continue;
        }
        if (name == "--bootloader") {
            options.bootloader = true;
            continue;
        }
        if (name == "--verbose") {
            options.verbose = true;
            continue;
        }
        const bool takesValue = name == "--serial" || name == "--firmware" ||
                                name == "--algorithm" || name == "--effect" ||
                                name == "--latency-timer" || name == "--fault";
        if (!takesValue) return "unknown option " + name;
        if (!value) {
            if (i + 1 >= argc) return name + " needs a value";
            value = argv[++i];
        }
        if (name == "--serial") {
            if (value->empty()) return "--serial needs a non-empty text";
            options.identity.serialNumber = *value;
            continue;
        }
        if (name == "--fault") {
            options.fault = ParseFault(*value);
            if (!options.fault) return "--fault takes one of the faults listed below";
            continue;
        }
        if (name == "--latency-timer") {
            const auto ms = ParseNumber(*value, 255);
            if (!ms || *ms == 0) return "--latency-timer takes a number from 1 to 255";
            options.latencyTimer = std::chrono::milliseconds(*ms);
            continue;
        }
        const unsigned long max = name == "--firmware" ? 255 : name == "--algorithm" ? 9999 : 99;
        const auto number = ParseNumber(*value, max);
        if (!number) return name + " takes a number from 0 to " + std::to_string(max);
        if (name == "--firmware") options.identity.firmware = static_cast<std::uint8_t>(*number);
        if (name == "--algorithm")
            options.identity.algorithmNumber = static_cast<std::uint16_t>(*number);
        if (name == "--effect") options.identity.effectIndex = static_cast<std::uint8_t>(*number);
    }
    return std::nullopt;
}

struct Terminal {
    int master = -1;
    int slave = -1;  // held open so the master stays usable between clients
    std::string path;
};

std::optional<Terminal> OpenTerminal() {
    Terminal terminal;
    terminal.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal.master < 0 || grantpt(terminal.master) != 0 || unlockpt(terminal.master) != 0)
        return std::nullopt;
    const char* name = ptsname(terminal.master);
    if (name == nullptr) return std::nullopt;
    terminal.path = name;
    terminal.slave = open(name, O_RDWR | O_NOCTTY);
    if (terminal.slave < 0) return std::nullopt;
    termios attributes{};
    if (tcgetattr(terminal.slave, &attributes) != 0) return std::nullopt;
    cfmakeraw(&attributes);
    cfsetispeed(&attributes, B115200);
    cfsetospeed(&attributes, B115200);
    if (tcsetattr(terminal.slave, TCSANOW, &attributes) != 0) return std::nullopt;
    const int flags = fcntl(terminal.master, F_GETFL);
    if (flags < 0 || fcntl(terminal.master, F_SETFL, flags | O_NONBLOCK) != 0) return std::nullopt;
    return terminal;
}

void CloseTerminal(const Terminal& terminal) {
    if (terminal.slave >= 0) close(terminal.slave);
    if (terminal.master >= 0) close(terminal.master);
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);  // no SA_RESTART: poll returns at once
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void ShowEvents(PedalSimulator& pedal, bool verbose) {
    if (verbose)
        for (const auto& event : pedal.events()) std::fprintf(stderr, "%s\n", event.c_str());
    pedal.clearEvents();
    pedal.clearWireLog();  // never read here: it would grow for as long as the pedal serves
}

// Moves host bytes into the pedal and the pedal's readable bytes out, until a stop is
// requested. Returns false on a terminal error.
bool Serve(const Terminal& terminal, PedalSimulator& pedal, bool verbose) {
    std::vector<std::uint8_t> toHost;
    std::vector<std::uint8_t> chunk(kChunk);
    while (!stopRequested) {
        pollfd watch{terminal.master, POLLIN, 0};
        if (!toHost.empty()) watch.events |= POLLOUT;
        const int wait = toHost.empty() && pedal.bytesInFlight() == 0 ? kIdleWaitMs : kPacedWaitMs;
        if (poll(&watch, 1, wait) < 0) {
            if (errno == EINTR) continue;
            std::perror("poll");
            return false;
        }
        if (watch.revents & POLLIN) {
            const ssize_t count = read(terminal.master, chunk.data(), chunk.size());
            if (count > 0) pedal.hostWrite(chunk.data(), static_cast<std::size_t>(count));
        }
        if (const std::size_t readable = pedal.hostReadable(); readable > 0) {
            const std::size_t old = toHost.size();
            toHost.resize(old + readable);
            toHost.resize(old + pedal.hostRead(toHost.data() + old, readable));
        }
        if (!toHost.empty()) {
            const ssize_t written = write(terminal.master, toHost.data(), toHost.size());
            if (written > 0) toHost.erase(toHost.begin(), toHost.begin() + written);
        }
        ShowEvents(pedal, verbose);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto error = ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "varkunda-pedal-sim: %s\n\n%s", error->c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto terminal = OpenTerminal();
    if (!terminal) {
        std::fprintf(stderr, "varkunda-pedal-sim: cannot open a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 1;
    }
    InstallSignalHandlers();

    PedalSimulator pedal(options.identity);
    pedal.setParityVisible(false);  // a pseudo-terminal carries no parity
    pedal.setPacing(options.pacing);
    if (options.bootloader) pedal.replug(true);
    pedal.setLatencyTimer(options.latencyTimer);
    if (options.fault) pedal.injectFault(options.fault->first, options.fault->second);

    std::printf("%s\n", terminal->path.c_str());
    std::fflush(stdout);
    const bool ok = Serve(*terminal, pedal, options.verbose);
    CloseTerminal(*terminal);
    return ok ? 0 : 1;
}
