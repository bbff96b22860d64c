// stm32flash, an independent client of the ROM bootloader's protocol, against the
// software pedal's bootloader on its pseudo-terminal: it must probe, erase, write,
// verify and start an image, and the pedal must then run the firmware of the image's
// version record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "PedalSimProcess.h"
#include "tools/TestImages.h"

namespace {

using namespace varkunda::simtool;

constexpr auto kStm32flashLimit = std::chrono::seconds(60);
constexpr std::size_t kRecordOffset = 0x1FC00;  // 0x0801FC00 in flash
constexpr std::size_t kStatusReplyStart = 4;    // enough to see the firmware line

std::optional<std::string> FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

struct Finished {
    int status = -1;  // the exit status; -1 when killed at the time limit
    std::string output;
};

// Runs a program to its end, its standard output and error together, within `limit`.
Finished RunToEnd(std::vector<std::string> arguments, std::chrono::seconds limit) {
    Finished finished;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return finished;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    const auto deadline = Clock::now() + limit;
    char chunk[4096];
    while (Clock::now() < deadline) {
        pollfd watch{pipeEnds[0], POLLIN, 0};
        if (poll(&watch, 1, 50) <= 0) continue;
        const ssize_t n = read(pipeEnds[0], chunk, sizeof chunk);
        if (n <= 0) break;  // the program closed its output: it has ended
        finished.output.append(chunk, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    if (Clock::now() >= deadline) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) finished.status = WEXITSTATUS(status);
    return finished;
}

// The firmware 12 test image, blank flash after it and the version record `record` at
// 0x0801FC00: one file that stm32flash writes from the start of flash.
std::vector<std::uint8_t> ImageWithRecord(const std::vector<std::uint8_t>& record) {
    std::vector<std::uint8_t> image = varkunda::images::FirmwareTestImage(12);
    image.resize(kRecordOffset, 0xFF);
    image.insert(image.end(), record.begin(), record.end());
    return image;
}

// A file in the temporary folder, removed at the end of the test.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::vector<std::uint8_t>& bytes) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "varkunda-image-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0) return;
        path_ = pattern;
        const bool whole =
            write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        close(fd);
        if (!whole) path_.clear();
    }
    ~TemporaryFile() {
        if (!path_.empty()) std::filesystem::remove(path_);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct ImageCase {
    const char* name;
    std::vector<std::uint8_t> record;
    std::string statusStart;  // empty: the pedal stays silent
};

void PrintTo(const ImageCase& c, std::ostream* out) { *out << c.name; }

class Stm32flash : public ::testing::TestWithParam<ImageCase> {
  protected:
    void SetUp() override {
        program_ = FindProgram("stm32flash");
        if (!program_) GTEST_SKIP() << "stm32flash is not installed (Debian package stm32flash)";
    }

    std::optional<std::string> program_;
};

TEST_P(Stm32flash, ProbesWritesVerifiesAndStartsTheImageOnThePedalsBootloader) {
    const TemporaryFile image(ImageWithRecord(GetParam().record));
    ASSERT_FALSE(image.path().empty());
    PedalSimProcess pedal({"--bootloader", "--no-pacing"});
    const std::string terminal = pedal.firstLine();
    ASSERT_EQ(terminal.rfind("/dev/pts/", 0), 0u) << terminal;

    const Finished run = RunToEnd({*program_, "-m", "8n1", "-b", "115200", "-w", image.path(), "-v",
                                   "-g", "0x08000000", terminal},
                                  kStm32flashLimit);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Device ID    : 0x0410"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Wrote and verified address 0x0801fc08 (100.00%)"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Starting execution at address 0x08000000... done."),
              std::string::npos)
        << run.output;

    const int fd = OpenRaw(terminal);
    ASSERT_GE(fd, 0);
    const unsigned char request[] = {0x02, 0x00};
    ASSERT_EQ(write(fd, request, 2), 2);
    if (GetParam().statusStart.empty())
        EXPECT_EQ(ReadBytes(fd, 1, std::chrono::milliseconds(300)), "");
    else
        EXPECT_EQ(ReadBytes(fd, kStatusReplyStart).substr(0, kStatusReplyStart),
                  GetParam().statusStart);
    close(fd);
    EXPECT_EQ(pedal.terminate(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Images, Stm32flash,
    ::testing::Values(ImageCase{"RecordOfFirmware12", {0, 0, 0, 0, 0, 0, 0, 12}, "12\r\n"},
                      ImageCase{"BlankRecord", std::vector<std::uint8_t>(8, 0xFF), ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
