// The status round trip through the link layer against the software pedal with its
// wire pacing on: from the request to the parsed reply, on the real clock with the
// real 200 ms pause. Its floor is printed as that pause plus the wire time of the
// 2-byte request and of the reply at 115 200 baud, 10 bit times a byte. The pedal
// answers at once, so its reply crosses the wire during the pause, and the exchange
// can come in under that figure; the second benchmark leaves the pause out to show how
// close the wait and the drain come to the wire time alone.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>

#include "link/QtLinkEnvironment.h"
#include "link/StatusRequest.h"
#include "link/backends/SimulatedD2xx.h"
#include "protocol/Messages.h"

namespace {

using namespace varkunda::link;
using Clock = std::chrono::steady_clock;

constexpr double kBaudRate = 115200.0;
constexpr double kBitsPerByte = 10.0;

std::size_t ReplyBytes(const std::vector<std::uint8_t>& numbers) {
    std::size_t bytes = 0;
    for (std::uint8_t number : numbers) bytes += std::to_string(number).size() + 2;  // CR LF
    return bytes;
}

// A linked software pedal that keeps the wire's pace.
struct PacedLink {
    PacedLink() {
        device.pedal(0)->setPacing(true);
        access.Open_USB_Device_By_Serial_Number(device.pedal(0)->identity().serialNumber);
        access.SetLineParameters(LineMode::NormalLine);
        access.SetDeviceBaudRate();
        access.SetDeviceDataCharacteristics();
    }
    double WireMilliseconds() const {
        const double bytes = 2.0 + static_cast<double>(ReplyBytes(device.pedal(0)->statusNumbers()));
        return bytes * kBitsPerByte / kBaudRate * 1000.0;
    }

    SimulatedD2xx device;
    D2xxAccess access{device};
    QtLinkEnvironment environment;
    Transport transport{access, environment, LinkLog{}};
};

template <typename RoundTrip>
void Measure(benchmark::State& state, double floorMs, RoundTrip roundTrip) {
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool complete = roundTrip();
        totalMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!complete) {
            state.SkipWithError("the status reply did not arrive whole");
            break;
        }
    }
    const double meanMs = totalMs / static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["mean_ms"] = meanMs;
    state.counters["x_floor"] = meanMs / floorMs;
}

// The status request as the editor makes it: request, 200 ms pause, reply.
void BM_StatusRoundTrip(benchmark::State& state) {
    PacedLink link;
    const double floorMs = static_cast<double>(kStatusReplyPause.count()) + link.WireMilliseconds();
    Measure(state, floorMs, [&] {
        const StatusOutcome outcome = RequestStatus(link.transport);
        benchmark::DoNotOptimize(outcome.reply);
        return outcome.ok();
    });
}
BENCHMARK(BM_StatusRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The same exchange without the pause: how close the wait and drain come to the wire.
void BM_StatusReplyWithoutPause(benchmark::State& state) {
    PacedLink link;
    Measure(state, link.WireMilliseconds(), [&] {
        link.transport.Send(varkunda::protocol::StatusRequestMessage(), PurgeFirst::Yes);
        return link.transport.ReadReply(varkunda::protocol::kStatusReplyLength).numbers.size() ==
               varkunda::protocol::kStatusReplyLength;
    });
}
BENCHMARK(BM_StatusReplyWithoutPause)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);  // the waits process its events
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
