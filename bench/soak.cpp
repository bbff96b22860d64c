// A long run against the paced software pedal on a pseudo-terminal, run by hand:
//   soak [STATUS_REQUESTS [DIAL_MOVES]]   (default 1000 and 10000)
// The link layer sends as the editor does: status requests (RequestStatus, with its
// pause shortened to 5 ms so the run takes minutes; the reply is still waited for on the
// real clock) and, between them, dial moves (Transport::Send of a set-parameter message)
// one every 2 ms, faster than any hand turns a dial. varkunda-pedal-sim --verbose logs
// every message it takes in; at the end that log must be exactly what was sent, in
// order, and every status request must have had its whole reply. Resident memory is
// read after a warm-up (a tenth of the run) and at the end; it must not grow by more than
// 10 %. Prints the figures; exits 1 when a check fails.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "link/D2xxAccess.h"
#include "link/QtLinkEnvironment.h"
#include "link/StatusRequest.h"
#include "link/Transport.h"
#include "link/backends/SerialPortD2xx.h"
#include "link/backends/SerialPortIo.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/Parameters.h"
#include "sim/ParameterMap.h"

using namespace varkunda;
using namespace std::chrono_literals;

namespace {

constexpr auto kDialMoveInterval = 2ms;
constexpr auto kLongestEditorPause = 5ms;

// The real clock with the editor's fixed pauses capped.
class SoakEnvironment final : public link::LinkEnvironment {
  public:
    void processEvents() override { real_.processEvents(); }
    void sleep(std::chrono::milliseconds duration) override {
        real_.sleep(std::min(duration, std::chrono::milliseconds(kLongestEditorPause)));
    }
    std::chrono::milliseconds now() override { return real_.now(); }

  private:
    link::QtLinkEnvironment real_;
};

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// varkunda-pedal-sim --verbose, its events going to `eventsPath`.
struct PedalProcess {
    pid_t pid = -1;
    std::string terminal;

    explicit PedalProcess(const std::string& eventsPath) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            const int events = open(eventsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(events, STDERR_FILENO);
            close(pipeEnds[0]);
            execl(VARKUNDA_PEDAL_SIM_PATH, VARKUNDA_PEDAL_SIM_PATH, "--verbose",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        char c = 0;
        while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') terminal.push_back(c);
        close(pipeEnds[0]);
    }
    void stop() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~PedalProcess() { stop(); }
};

// What the pedal logs for each message sent: "S" for a status request, "P AAAA VVVVVVVV"
// for a set parameter; anything else it logged is kept whole, so it shows as extra.
std::vector<std::string> ReceivedMessages(const std::string& eventsPath) {
    static const std::regex kSet(R"(^set parameter.*address ([0-9A-F]{4})\) := ([0-9A-F]{8}))");
    std::vector<std::string> received;
    std::ifstream events(eventsPath);
    std::string line;
    std::smatch match;
    while (std::getline(events, line)) {
        if (line.rfind("status request: answered 102 numbers", 0) == 0)
            received.push_back("S");
        else if (std::regex_search(line, match, kSet))
            received.push_back("P " + match[1].str() + " " + match[2].str());
        else
            received.push_back(line);
    }
    return received;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int requests = argc > 1 ? std::stoi(argv[1]) : 1000;
    const int dialMoves = argc > 2 ? std::stoi(argv[2]) : 10000;
    const std::string eventsPath = "/tmp/varkunda-soak-events-" + std::to_string(getpid());

    PedalProcess pedal(eventsPath);
    if (pedal.terminal.empty()) {
        std::fprintf(stderr, "soak: varkunda-pedal-sim did not start\n");
        return 1;
    }
    link::SerialPortD2xx backend(link::CreateQtSerialPortSystem(), pedal.terminal);
    link::D2xxAccess access(backend);
    if (access.Open_USB_Device_By_Serial_Number(pedal.terminal) != link::ft::OK) {
        std::fprintf(stderr, "soak: %s could not be opened\n", pedal.terminal.c_str());
        return 1;
    }
    access.SetLineParameters(link::LineMode::NormalLine);
    access.SetDeviceBaudRate();
    access.SetDeviceDataCharacteristics();
    SoakEnvironment environment;
    link::Transport transport(access, environment, link::LinkLog{});

    const auto addresses = sim::BuiltInAddressTable();
    std::mt19937 random(12);
    std::vector<std::string> sent;
    sent.reserve(static_cast<std::size_t>(requests + dialMoves));
    int failedRequests = 0, failedSends = 0, moves = 0;
    long warmedUp = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < requests; ++i) {
        if (i == requests / 10) warmedUp = ResidentKilobytes();
        sent.push_back("S");
        if (!link::RequestStatus(transport).ok()) ++failedRequests;
        const int movesNow = dialMoves * (i + 1) / requests - moves;
        for (int k = 0; k < movesNow; ++k, ++moves) {
            const auto& info = protocol::kParameterInfo[random() % protocol::kParameterCount];
            const std::uint16_t address = addresses[static_cast<std::size_t>(info.slot)];
            const std::uint32_t value =
                std::uniform_int_distribution<std::uint32_t>(0, info.fullScale)(random);
            if (!transport.Send(protocol::SetParameterMessage(address, value)).ok()) ++failedSends;
            sent.push_back("P " + protocol::HexWord16(address) + " " + protocol::HexWord32(value));
            std::this_thread::sleep_for(kDialMoveInterval);
        }
    }
    // The last moves cross the paced line before the pedal is stopped.
    link::RequestStatus(transport);
    sent.push_back("S");
    const long atEnd = ResidentKilobytes();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    access.CloseDevice();
    pedal.stop();

    const std::vector<std::string> received = ReceivedMessages(eventsPath);
    std::remove(eventsPath.c_str());
    const auto [sentAt, receivedAt] =
        std::mismatch(sent.begin(), sent.end(), received.begin(), received.end());
    const bool same = sentAt == sent.end() && receivedAt == received.end();
    const double growth = warmedUp > 0 ? 100.0 * double(atEnd - warmedUp) / double(warmedUp) : 0;

    std::printf("soak: %d status requests and %d dial moves in %.1f s on %s\n", requests + 1, moves,
                seconds, pedal.terminal.c_str());
    std::printf("  failed status requests: %d, failed sends: %d\n", failedRequests, failedSends);
    std::printf("  messages sent: %zu, logged by the pedal: %zu, %s\n", sent.size(),
                received.size(),
                same ? "identical in order"
                     : ("first difference at " + std::to_string(sentAt - sent.begin()) +
                        ": sent \"" + (sentAt != sent.end() ? *sentAt : "-") + "\", pedal \"" +
                        (receivedAt != received.end() ? *receivedAt : "-") + "\"")
                           .c_str());
    std::printf("  VmRSS after warm-up %ld kB, at the end %ld kB (%+.1f %%)\n", warmedUp, atEnd,
                growth);
    const bool ok = same && failedRequests == 0 && failedSends == 0 && growth <= 10.0;
    std::printf("soak: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
