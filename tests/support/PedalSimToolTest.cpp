#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeLimit = std::chrono::seconds(5);

// varkunda-pedal-sim running as a child process, its standard output on a pipe.
class PedalSimProcess {
public:
    explicit PedalSimProcess(std::vector<std::string> arguments) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            std::vector<char*> argv{const_cast<char*>(VARKUNDA_PEDAL_SIM_PROGRAM)};
            for (auto& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }

    ~PedalSimProcess() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) close(output_);
    }

    // The first line of standard output, or empty after the time limit.
    std::string firstLine() {
        std::string line;
        const auto deadline = Clock::now() + kTimeLimit;
        char c = 0;
        while (Clock::now() < deadline) {
            pollfd watch{output_, POLLIN, 0};
            if (poll(&watch, 1, 50) <= 0) continue;
            if (read(output_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line.push_back(c);
        }
        return {};
    }

    // Sends SIGTERM and returns the exit status, or -1 if it did not end in time.
    int terminate() {
        kill(pid_, SIGTERM);
        const auto deadline = Clock::now() + kTimeLimit;
        int status = 0;
        while (Clock::now() < deadline) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            poll(nullptr, 0, 20);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    bool reaped_ = false;
};

int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios attributes{};
    tcgetattr(fd, &attributes);
    cfmakeraw(&attributes);
    tcsetattr(fd, TCSANOW, &attributes);
    return fd;
}

// Reads until `count` bytes came or the time limit passed.
std::string ReadBytes(int fd, std::size_t count) {
    std::string bytes;
    const auto deadline = Clock::now() + kTimeLimit;
    char chunk[4096];
    while (bytes.size() < count && Clock::now() < deadline) {
        pollfd watch{fd, POLLIN, 0};
        if (poll(&watch, 1, 50) <= 0) continue;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n > 0) bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::size_t Lines(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

class PedalSimTool : public ::testing::TestWithParam<const char*> {};

TEST_P(PedalSimTool, ServesTheStatusRequestOnItsTerminalAndStopsCleanly) {
    std::vector<std::string> arguments{"--firmware", "12", "--algorithm=19"};
    if (*GetParam()) arguments.push_back(GetParam());
    PedalSimProcess process(arguments);
    const std::string path = process.firstLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);

    const unsigned char midi[] = {0x07, 0x0A};
    ASSERT_EQ(write(fd, midi, 2), 2);
    const unsigned char request[] = {0x02, 0x00};
    ASSERT_EQ(write(fd, request, 2), 2);
    std::string reply = ReadBytes(fd, 1);
    while (Lines(reply) < 102) {
        const std::string more = ReadBytes(fd, 1);
        if (more.empty()) break;
        reply += more;
    }
    EXPECT_EQ(Lines(reply), 102u);
    EXPECT_EQ(reply.rfind("12\r\n0\r\n25\r\n", 0), 0u) << "firmware 12, algorithm bytes 00 19";
    close(fd);
    EXPECT_EQ(process.terminate(), 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutPacing, PedalSimTool, ::testing::Values("", "--no-pacing"),
                         [](const auto& info) {
                             return std::string(*info.param ? "Unpaced" : "Paced");
                         });

TEST(PedalSimToolOptions, RefusesABadValue) {
    PedalSimProcess process({"--effect", "100"});
    EXPECT_EQ(process.firstLine(), "");
    EXPECT_EQ(process.terminate(), 2);
}

}  // namespace
