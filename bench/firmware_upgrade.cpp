// The whole "Firmware_13" upgrade through the link layer against the software pedal's
// bootloader at the pace of the wire, and the algorithm upload, each against its floor.
//
// Upgrade floor: every byte on the wire at 11 bit times (even parity) and 115 200 baud,
// both ways (sync, erase, each chunk's L + 12 bytes to write it and, with the read-back,
// L + 12 more to read it back, the version record, Go), plus the flash times the pedal
// models (mass erase, programming). The bridge's latency timer is 16 ms as it comes and
// the editor's own setting once the editor has opened it.
//
// In process the software pedal models the bridge exactly; over a pseudo-terminal the
// pedal runs as its own program and the bytes cross the system as they would from a
// bridge, so that is the real-time path; there the latency timer is the program's
// --latency-timer, since a pseudo-terminal has no low-latency flag for the editor to set.
// stm32flash writes and verifies the same image on the same program; x_stm32flash is our
// time over its time (it erases only the pages of the image, we erase all at once).
//
// Algorithm upload floor: 4352 bytes at 10 bit times plus the pedal's answer.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>

#include "PedalSimProcess.h"
#include "link/AlgorithmUpload.h"
#include "link/BootloaderClient.h"
#include "link/DeviceLink.h"
#include "link/FirmwareUpgrade.h"
#include "link/QtLinkEnvironment.h"
#include "link/backends/SerialPortD2xx.h"
#include "link/backends/SimulatedD2xx.h"
#include "sim/Flash.h"
#include "tools/TestImages.h"

namespace {

using namespace varkunda::link;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr double kBaudRate = 115200.0;
constexpr double kBitsWithParity = 11.0;
constexpr double kBitsWithoutParity = 10.0;
constexpr unsigned kFirmware = 13;
constexpr std::size_t kChunkOverhead = 12;  // command, address, N and checksum, three ACKs
constexpr std::size_t kSyncBytes = 2;
constexpr std::size_t kEraseBytes = 6;
constexpr std::size_t kRecordBytes = 8 + kChunkOverhead;
constexpr std::size_t kGoBytes = 9;
constexpr std::chrono::milliseconds kEditorsLatency{kEditorLatencyTimerMs};
constexpr std::chrono::milliseconds kBridgeDefaultLatency{16};

const std::vector<std::uint8_t>& Image() { return varkunda::images::FirmwareTestImage(kFirmware); }

double WireMs(double bytes, double bitsPerByte) { return bytes * bitsPerByte / kBaudRate * 1000.0; }

double UpgradeFloorMs(bool readBack) {
    const std::size_t size = Image().size();
    const std::size_t chunks = (size + 255) / 256;
    const std::size_t chunkBytes = size + chunks * kChunkOverhead;
    const double bytes = static_cast<double>(kSyncBytes + kEraseBytes + chunkBytes +
                                             (readBack ? chunkBytes : 0) + kRecordBytes + kGoBytes);
    using namespace varkunda::sim;
    Milliseconds flash = kMassEraseTime + ProgramTime(kVersionRecordSize);
    for (std::size_t start = 0; start < size; start += 256)
        flash += ProgramTime(std::min<std::size_t>(256, size - start));
    return WireMs(bytes, kBitsWithParity) + flash.count();
}

// The steps of RunFirmwareUpgrade, the read-back left out when asked to.
BootloaderResult Upgrade(Transport& transport, bool readBack) {
    BootloaderClient client(transport);
    if (auto error = client.Connect()) return error;
    if (readBack) return RunFirmwareUpgrade(transport, Image(), kFirmware);
    if (auto error = client.EraseAll()) return error;
    if (auto error = client.WriteImage(Image())) return error;
    if (auto error = client.WriteVersionRecord(kFirmware)) return error;
    return client.Go();
}

void Report(benchmark::State& state, double totalMs, double floorMs) {
    const double meanMs = totalMs / static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["mean_ms"] = meanMs;
    state.counters["x_floor"] = meanMs / floorMs;
}

// In process: the pedal plugged in with SHIFT held, opened as the editor opens it.
double InProcessUpgradeMs(std::chrono::milliseconds latency, bool readBack, std::string& error) {
    SimulatedD2xx device;
    auto pedal = device.pedal(0);
    pedal->replug(true);
    pedal->setPacing(true);
    D2xxAccess access(device);
    access.SetLineParameters(LineMode::NormalLine);
    QtLinkEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    if (!OpenDeviceLink(transport, pedal->identity().serialNumber, false).opened()) {
        error = "the software pedal did not open";
        return 0;
    }
    pedal->setLatencyTimer(latency);
    const auto start = Clock::now();
    const BootloaderResult result = Upgrade(transport, readBack);
    const double ms = Milliseconds(Clock::now() - start).count();
    if (result) error = BootloaderErrorText(*result);
    return ms;
}

// Each run function measures one whole upgrade; the four cases are the two latency
// timers with and without read-back.
using UpgradeRun = double (*)(std::chrono::milliseconds latency, bool readBack, std::string& error);

void MeasureUpgrade(benchmark::State& state, UpgradeRun run) {
    const std::chrono::milliseconds latency(state.range(0));
    const bool readBack = state.range(1) != 0;
    double totalMs = 0;
    for (auto _ : state) {
        std::string error;
        totalMs += run(latency, readBack, error);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    Report(state, totalMs, UpgradeFloorMs(readBack));
}

void UpgradeCases(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"latency_ms", "read_back"})
        ->ArgsProduct({{kBridgeDefaultLatency.count(), kEditorsLatency.count()}, {1, 0}})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

void BM_UpgradeInProcess(benchmark::State& state) { MeasureUpgrade(state, InProcessUpgradeMs); }
BENCHMARK(BM_UpgradeInProcess)->Apply(UpgradeCases);

// The pedal's own program on a pseudo-terminal, started in its bootloader.
struct PedalOnTerminal {
    explicit PedalOnTerminal(std::chrono::milliseconds latency)
        : process({"--bootloader", "--latency-timer", std::to_string(latency.count())}),
          path(process.firstLine()) {}
    ~PedalOnTerminal() { process.terminate(); }
    varkunda::simtool::PedalSimProcess process;
    std::string path;
};

double TerminalUpgradeMs(std::chrono::milliseconds latency, bool readBack, std::string& error) {
    PedalOnTerminal pedal(latency);
    SerialPortD2xx device(CreateQtSerialPortSystem(), pedal.path);
    D2xxAccess access(device);
    access.SetLineParameters(LineMode::NormalLine);
    QtLinkEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    if (pedal.path.empty() || !OpenDeviceLink(transport, pedal.path, false).opened()) {
        error = "the software pedal's terminal did not open";
        return 0;
    }
    const auto start = Clock::now();
    const BootloaderResult result = Upgrade(transport, readBack);
    const double ms = Milliseconds(Clock::now() - start).count();
    if (result) error = BootloaderErrorText(*result);
    access.CloseDevice();
    return ms;
}

void BM_UpgradeOverPseudoTerminal(benchmark::State& state) {
    MeasureUpgrade(state, TerminalUpgradeMs);
}
BENCHMARK(BM_UpgradeOverPseudoTerminal)->Apply(UpgradeCases);

std::optional<std::string> FindStm32flash() {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / "stm32flash";
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

// stm32flash's write, verify and start of the same image, and ours with the read-back,
// both over a pseudo-terminal at the bridge's latency timer `state.range(0)`.
void BM_AgainstStm32flash(benchmark::State& state) {
    const auto program = FindStm32flash();
    if (!program) {
        state.SkipWithError("stm32flash is not installed (Debian package stm32flash): skipped");
        return;
    }
    const std::filesystem::path imagePath =
        std::filesystem::temp_directory_path() / "varkunda-bench-firmware13.bin";
    if (FILE* file = std::fopen(imagePath.c_str(), "wb")) {
        std::fwrite(Image().data(), 1, Image().size(), file);
        std::fclose(file);
    }
    const std::chrono::milliseconds latency(state.range(0));
    double oursMs = 0;
    double theirsMs = 0;
    for (auto _ : state) {
        std::string error;
        oursMs += TerminalUpgradeMs(latency, true, error);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
        PedalOnTerminal pedal(latency);
        const std::string command = *program + " -m 8n1 -b 115200 -w " + imagePath.string() +
                                    " -v -g 0x08000000 " + pedal.path + " >/dev/null 2>&1";
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        theirsMs += Milliseconds(Clock::now() - start).count();
        if (status != 0) {
            state.SkipWithError("stm32flash failed");
            break;
        }
    }
    std::filesystem::remove(imagePath);
    const double runs = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = oursMs / runs;
    state.counters["stm32flash_ms"] = theirsMs / runs;
    state.counters["x_stm32flash"] = oursMs / theirsMs;
}
BENCHMARK(BM_AgainstStm32flash)
    ->ArgNames({"latency_ms"})
    ->Arg(kBridgeDefaultLatency.count())
    ->Arg(kEditorsLatency.count())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The built-in algorithm image in one write and the pedal's answer, in process.
void BM_AlgorithmUpload(benchmark::State& state) {
    SimulatedD2xx device;
    auto pedal = device.pedal(0);
    pedal->setPacing(true);
    D2xxAccess access(device);
    access.SetLineParameters(LineMode::NormalLine);
    QtLinkEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    if (!OpenDeviceLink(transport, pedal->identity().serialNumber, false).opened()) {
        state.SkipWithError("the software pedal did not open");
        return;
    }
    const std::string image = varkunda::images::AlgorithmTestImageHex();
    double totalMs = 0;
    double floorMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const AlgorithmUploadResult result = UploadAlgorithm(transport, image);
        totalMs += Milliseconds(Clock::now() - start).count();
        if (!result.ok()) {
            state.SkipWithError("the upload was not answered");
            return;
        }
        floorMs = WireMs(static_cast<double>(image.size() / 2 + result.answer.size()),
                         kBitsWithoutParity);
    }
    Report(state, totalMs, floorMs);
}
BENCHMARK(BM_AlgorithmUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);  // the waits process its events
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
