// The status round trip as the player starts it: from a click on Request to the main
// window and the effect window updated from the reply, against the software pedal with
// its wire pacing on, on the real clock with the real 200 ms pause. Its floor is that
// pause plus the wire time of the 2-byte request and of the reply at 115 200 baud,
// 10 bit times a byte. Target: within 1.2 times the floor. The pedal answers at once,
// so its reply crosses the wire during the pause and the click can come in under it.
#include <QLabel>
#include <QTemporaryDir>

#include "EditorBenchSupport.h"
#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "link/StatusRequest.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"

namespace {

using bench_support::CountingDialogs;

constexpr double kBaudRate = 115200.0;
constexpr double kBitsPerByte = 10.0;

double WireMilliseconds(const std::vector<std::uint8_t>& replyNumbers) {
    double bytes = 2.0;  // the request 02 00
    for (std::uint8_t number : replyNumbers) bytes += std::to_string(number).size() + 2.0;
    return bytes * kBitsPerByte / kBaudRate * 1000.0;
}

void StatusRequestFromTheWindow(benchmark::State& state) {
    QTemporaryDir documents;
    qputenv("VARKUNDA_DOCUMENTS", documents.path().toLocal8Bit());
    varkunda::link::SimulatedD2xx device;
    device.pedal(0)->setPacing(true);
    CountingDialogs dialogs;
    EditorServices services;
    services.dialogs = &dialogs;
    EditorApplication editor(device, services);
    editor.show();
    TformMain& main = editor.formMain();
    main.Link();
    if (!editor.context().DeviceLinked || dialogs.shown > 0) {
        state.SkipWithError("the software pedal could not be linked");
        return;
    }
    const double floorMs = static_cast<double>(varkunda::link::kStatusReplyPause.count()) +
                           WireMilliseconds(device.pedal(0)->statusNumbers());

    double totalMs = 0;
    for (auto _ : state) {
        main.lblFirmwareVersion->clear();
        QElapsedTimer clock;
        clock.start();
        main.btnRequestClick();
        totalMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (main.lblFirmwareVersion->text() != QStringLiteral("Device Firmware: 13") ||
            dialogs.shown > 0) {
            state.SkipWithError("the window was not updated from a complete reply");
            return;
        }
    }
    const double meanMs = totalMs / static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["mean_ms"] = meanMs;
    state.counters["x_floor"] = meanMs / floorMs;
}

BENCHMARK(StatusRequestFromTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunWithApplication(argc, argv); }
