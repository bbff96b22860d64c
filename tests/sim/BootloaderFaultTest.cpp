#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "BootloaderTestSupport.h"

namespace varkunda::sim {
namespace {

using namespace testing;
using Action = BootloaderFaultAction;
using Step = BootloaderStep;
using Command = BootloaderCommand;

std::vector<std::uint8_t> Chunk(std::size_t index) {
    return Filled(256, static_cast<std::uint8_t>(0xA0 + index));
}

std::uint32_t ChunkAddress(std::size_t index) {
    return kFlashStart + static_cast<std::uint32_t>(index * 256);
}

// A write run as a careful client makes it: erase, then chunk after chunk, each step
// waiting for its ACK; it stops at the first step answered otherwise.
class WriteRun : public InBootloader {
  protected:
    struct Stop {
        std::size_t chunk;
        Step step;
        std::vector<std::uint8_t> answer;
    };

    std::optional<Stop> writeChunks(std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            const std::pair<Step, std::string> steps[] = {
                {Step::Command, "31CE"},
                {Step::Address, AddressFrame(ChunkAddress(i))},
                {Step::Data, DataFrame(Chunk(i))}};
            for (const auto& [step, hex] : steps) {
                const auto bytes = Bytes(hex);
                pedal.hostWritePartial(bytes.data(), bytes.size());
                auto answer = ReadAll(pedal);
                if (answer != Bytes("79")) return Stop{i, step, answer};
            }
        }
        return std::nullopt;
    }

    void erase() {
        ASSERT_EQ(exchange("43BC"), Bytes("79"));
        ASSERT_EQ(exchange("FF00"), Bytes("79"));
    }

    std::vector<std::uint8_t> chunkInFlash(std::size_t index) {
        return pedal.readFlash(ChunkAddress(index), 256);
    }
};

// Each fault hits Write Memory at its step of the chunk given and stops the run there.
struct WriteFaultCase {
    const char* name;
    Action action;
    Step step;
    std::size_t chunk;
    const char* answer;
};

void PrintTo(const WriteFaultCase& c, std::ostream* out) { *out << c.name; }

class WriteFault : public WriteRun, public ::testing::WithParamInterface<WriteFaultCase> {};

TEST_P(WriteFault, StopsTheRunAtItsStepAndChunkAndFiresOnce) {
    const WriteFaultCase& c = GetParam();
    erase();
    pedal.injectBootloaderFault({c.action, c.step, Command::WriteMemory, c.chunk});
    const auto stop = writeChunks(0, 4);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->chunk, c.chunk);
    EXPECT_EQ(stop->step, c.step);
    EXPECT_EQ(stop->answer, Bytes(c.answer));
    for (std::size_t i = 0; i < c.chunk; ++i) EXPECT_EQ(chunkInFlash(i), Chunk(i)) << i;
    const bool unplug = c.action == Action::Unplug;
    EXPECT_EQ(pedal.unplugged(), unplug);
    if (unplug) {
        auto halfWritten = Chunk(c.chunk);
        std::fill(halfWritten.begin() + 128, halfWritten.end(), 0xFF);
        EXPECT_EQ(chunkInFlash(c.chunk), halfWritten);
        return;
    }
    EXPECT_EQ(chunkInFlash(c.chunk), Filled(256, 0xFF));
    // A second run from the erase goes through: the fault has fired.
    erase();
    EXPECT_EQ(writeChunks(0, 4), std::nullopt);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(chunkInFlash(i), Chunk(i)) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFault,
    ::testing::Values(
        WriteFaultCase{"NackAtTheCommandOfChunk1", Action::Nack, Step::Command, 1, "1F"},
        WriteFaultCase{"NackAtTheAddressOfChunk1", Action::Nack, Step::Address, 1, "1F"},
        WriteFaultCase{"NackAtTheDataOfChunk2", Action::Nack, Step::Data, 2, "1F"},
        WriteFaultCase{"SilenceAtTheCommandOfChunk0", Action::Silence, Step::Command, 0, ""},
        WriteFaultCase{"SilenceAtTheAddressOfChunk3", Action::Silence, Step::Address, 3, ""},
        WriteFaultCase{"SilenceAtTheDataOfChunk1", Action::Silence, Step::Data, 1, ""},
        WriteFaultCase{"UnplugAtTheDataOfChunk2", Action::Unplug, Step::Data, 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteRun, UnplugAfterBytesInsideADataFrameLeavesTheChunkUnwritten) {
    erase();
    ASSERT_EQ(writeChunks(0, 1), std::nullopt);
    pedal.injectFault(Fault::UnplugAfterBytes, 2 + 5 + 100);
    const auto stop = writeChunks(1, 2);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->step, Step::Data);
    EXPECT_TRUE(stop->answer.empty());
    EXPECT_TRUE(pedal.unplugged());
    EXPECT_EQ(chunkInFlash(1), Filled(256, 0xFF));

    pedal.replug(true);
    ASSERT_EQ(exchange("7F"), Bytes("79")) << "a fresh bootloader after the power cut";
    EXPECT_EQ(writeChunks(1, 2), std::nullopt);
    EXPECT_EQ(chunkInFlash(0), Chunk(0));
    EXPECT_EQ(chunkInFlash(1), Chunk(1));
}

TEST_F(WriteRun, WrongDataIsAcknowledgedButProgramsOrReadsTheFirstByteInverted) {
    erase();
    pedal.injectBootloaderFault({Action::WrongData, Step::Data, Command::WriteMemory, 1});
    ASSERT_EQ(writeChunks(0, 3), std::nullopt);
    auto expected = Chunk(1);
    expected[0] = static_cast<std::uint8_t>(~expected[0]);
    EXPECT_EQ(chunkInFlash(1), expected);
    EXPECT_EQ(chunkInFlash(2), Chunk(2));

    pedal.injectBootloaderFault({Action::WrongData, Step::Data, Command::ReadMemory, 0});
    const std::string read = "11EE" + AddressFrame(ChunkAddress(2)) + "03FC";
    EXPECT_EQ(Hex(exchange(read)),
              "797979"
              "5DA2A2A2");
    EXPECT_EQ(Hex(exchange(read)),
              "797979"
              "A2A2A2A2");
    EXPECT_EQ(chunkInFlash(2), Chunk(2)) << "only the answer was wrong";
}

TEST_F(WriteRun, EraseAndGoFaultsHitTheirOwnSteps) {
    pedal.injectBootloaderFault({Action::Nack, Step::Data, Command::Erase, 0});
    EXPECT_EQ(exchange("43BC"), Bytes("79"));
    EXPECT_EQ(exchange("FF00"), Bytes("1F"));
    EXPECT_EQ(pedal.readFlash(kVersionRecordAddress, 8), Bytes("000000000000000D"))
        << "nothing erased";

    pedal.injectBootloaderFault({Action::Silence, Step::Address, Command::Go, 0});
    EXPECT_EQ(exchange("21DE"), Bytes("79"));
    EXPECT_TRUE(exchange(AddressFrame(kFlashStart)).empty());
    EXPECT_TRUE(pedal.state().inBootloader) << "no jump without the answer";
}

TEST_F(WriteRun, UsesAreCountedFromTheInjectionPerCommand) {
    EXPECT_EQ(exchange("02FD"), Bytes("7901041079"));
    pedal.injectBootloaderFault({Action::Nack, Step::Command, Command::GetId, 1});
    EXPECT_EQ(exchange("02FD"), Bytes("7901041079"));
    EXPECT_EQ(exchange("01FE"), Bytes("7922000079")) << "another command is not counted";
    EXPECT_EQ(exchange("02FD"), Bytes("1F"));
    EXPECT_EQ(exchange("02FD"), Bytes("7901041079"));
}

struct SyncFaultCase {
    const char* name;
    Action action;
    const char* first;
};

void PrintTo(const SyncFaultCase& c, std::ostream* out) { *out << c.name; }

class SyncFault : public ::testing::TestWithParam<SyncFaultCase> {};

TEST_P(SyncFault, SpoilsTheFirstSyncOnly) {
    PedalSimulator pedal;
    pedal.replug(true);
    pedal.setParityVisible(false);
    pedal.injectBootloaderFault({GetParam().action, Step::Sync, Command::Get, 0});
    Send(pedal, "7F");
    EXPECT_EQ(ReadAll(pedal), Bytes(GetParam().first));
    if (GetParam().action != Action::StrayZero) {
        Send(pedal, "7F");
        EXPECT_EQ(ReadAll(pedal), Bytes("79"));
    }
    Send(pedal, "02FD");
    EXPECT_EQ(ReadAll(pedal), Bytes("7901041079"));
}

INSTANTIATE_TEST_SUITE_P(Cases, SyncFault,
                         ::testing::Values(SyncFaultCase{"Nack", Action::Nack, "1F"},
                                           SyncFaultCase{"Silence", Action::Silence, ""},
                                           SyncFaultCase{"StrayZero", Action::StrayZero, "0079"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BootloaderFaults, FaultNoneClearsAPendingBootloaderFault) {
    PedalSimulator pedal;
    pedal.replug(true);
    pedal.setParityVisible(false);
    pedal.injectBootloaderFault({Action::Nack, Step::Sync, Command::Get, 0});
    pedal.injectFault(Fault::None);
    Send(pedal, "7F");
    EXPECT_EQ(ReadAll(pedal), Bytes("79"));
}

// With pacing on, flash work delays the answer by its modelled time.
struct FlashTimeCase {
    const char* name;
    std::string before;  // answered steps first
    std::string last;
    std::chrono::nanoseconds busy;
    std::string answer = "79";
};

void PrintTo(const FlashTimeCase& c, std::ostream* out) { *out << c.name; }

class FlashTime : public InBootloader, public ::testing::WithParamInterface<FlashTimeCase> {
  protected:
    void SetUp() override {
        InBootloader::SetUp();
        pedal.setClock([this] { return now; });
        pedal.setPacing(true, kUsbLatency);
    }

    static constexpr std::chrono::microseconds kUsbLatency{1000};
    PedalSimulator::Clock::time_point now{std::chrono::seconds(1)};
};

TEST_P(FlashTime, DelaysTheAnswer) {
    const FlashTimeCase& c = GetParam();
    Send(pedal, c.before);
    now += std::chrono::seconds(1);
    ASSERT_EQ(ReadAll(pedal).size(), c.before.size() == 4 ? 1u : 2u);
    const auto byteTime = std::chrono::nanoseconds(95486);  // 11 bits at 115200 baud
    const auto start = now;
    Send(pedal, c.last);
    const auto readable = start + static_cast<long>(c.last.size() / 2) * byteTime + c.busy +
                          byteTime + PedalSimulator::kDefaultLatencyTimer + kUsbLatency;
    now = readable - std::chrono::nanoseconds(1);
    EXPECT_EQ(pedal.hostReadable(), 0u);
    now = readable;
    EXPECT_EQ(ReadAll(pedal), Bytes(c.answer));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlashTime,
    ::testing::Values(FlashTimeCase{"GlobalErase", "43BC", "FF00", kMassEraseTime},
                      FlashTimeCase{"ThreePages", "43BC", "0200010201", 3 * kPageEraseTime},
                      FlashTimeCase{"Write256Bytes", "31CE" + AddressFrame(kFlashStart),
                                    DataFrame(Filled(256, 0x12)), std::chrono::microseconds(6720)},
                      FlashTimeCase{"Write8Bytes", "31CE" + AddressFrame(kFlashStart),
                                    DataFrame(Filled(8, 0x12)),
                                    std::chrono::nanoseconds(4 * 52500)},
                      FlashTimeCase{"ReadTakesNoFlashTime", "11EE" + AddressFrame(kFlashStart),
                                    "00FF", std::chrono::nanoseconds(0), "7900"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varkunda::sim
