#pragma once

// varkunda-pedal-sim as a child process, and raw access to its pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace varkunda::simtool {

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

inline int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios attributes{};
    tcgetattr(fd, &attributes);
    cfmakeraw(&attributes);
    tcsetattr(fd, TCSANOW, &attributes);
    return fd;
}

// Reads until `count` bytes came or the time limit passed.
inline std::string ReadBytes(int fd, std::size_t count,
                             std::chrono::milliseconds limit = kTimeLimit) {
    std::string bytes;
    const auto deadline = Clock::now() + limit;
    char chunk[4096];
    while (bytes.size() < count && Clock::now() < deadline) {
        pollfd watch{fd, POLLIN, 0};
        if (poll(&watch, 1, 50) <= 0) continue;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n > 0) bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

}  // namespace varkunda::simtool
