#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PedalSimProcess.h"

namespace {

using namespace varkunda::simtool;

std::size_t Lines(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
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
    for (const auto& [option, value] :
         {std::pair{"--effect", "100"}, {"--latency-timer", "0"}, {"--latency-timer", "256"}}) {
        PedalSimProcess process({option, value});
        EXPECT_EQ(process.firstLine(), "") << option << " " << value;
        EXPECT_EQ(process.terminate(), 2) << option << " " << value;
    }
}

bool Write(int fd, const std::string& bytes) {
    return write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

TEST(PedalSimToolBootloader, AnswersSyncAndGetIdAtEightNoneOne) {
    PedalSimProcess process({"--bootloader", "--no-pacing"});
    const int fd = OpenRaw(process.firstLine());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(Write(fd, "\x7F"));
    EXPECT_EQ(ReadBytes(fd, 1), "\x79");
    ASSERT_TRUE(Write(fd, "\x02\xFD"));
    EXPECT_EQ(ReadBytes(fd, 5), std::string("\x79\x01\x04\x10\x79"));
    close(fd);
    EXPECT_EQ(process.terminate(), 0);
}

TEST(PedalSimToolBootloader, HoldsAOneByteAnswerForTheLatencyTimer) {
    PedalSimProcess process({"--bootloader", "--latency-timer", "255"});
    const int fd = OpenRaw(process.firstLine());
    ASSERT_GE(fd, 0);
    const auto start = Clock::now();
    ASSERT_TRUE(Write(fd, "\x7F"));
    EXPECT_EQ(ReadBytes(fd, 1), "\x79");
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(255));
    close(fd);
    EXPECT_EQ(process.terminate(), 0);
}

}  // namespace
