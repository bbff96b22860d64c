// The EEPROM dump as the developer starts it: from a click on the console's Read E2P to
// the dump's last line on the console's screen, against the software pedal with its
// wire pacing on, on the real clock. Its floor is the wire time of the dump, 16 385
// bytes at 115 200 baud and 10 bit times a byte. Target: within 1.2 times the floor.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include "EditorBenchSupport.h"
#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"
#include "protocol/Messages.h"

namespace {

using bench_support::CountingDialogs;

constexpr double kBaudRate = 115200.0;
constexpr double kBitsPerByte = 10.0;

// The console shows the dump's last line at the bottom of its view.
bool LastLineInView(TformPrint& console) {
    QScrollBar& view = *console.Memo1->verticalScrollBar();
    const QStringList lines = console.Lines();
    return !lines.isEmpty() && lines.last().startsWith(QStringLiteral("16383: ")) &&
           view.maximum() > 0 && view.value() == view.maximum();
}

void EepromDumpFromTheConsole(benchmark::State& state) {
    QTemporaryDir documents;
    qputenv("VARKUNDA_DOCUMENTS", documents.path().toLocal8Bit());
    varkunda::link::SimulatedD2xx device;
    device.pedal(0)->setPacing(true);
    CountingDialogs dialogs;
    EditorServices services;
    services.dialogs = &dialogs;
    EditorApplication editor(device, services);
    editor.show();
    editor.formMain().Link();
    TformPrint& console = editor.formPrint();
    console.show();
    if (!editor.context().DeviceLinked || dialogs.shown > 0 ||
        !bench_support::WaitUntilExposed(console)) {
        state.SkipWithError("the software pedal could not be linked or the console shown");
        return;
    }
    const double floorMs = static_cast<double>(varkunda::protocol::kEepromDumpLength) *
                           kBitsPerByte / kBaudRate * 1000.0;

    double totalMs = 0;
    for (auto _ : state) {
        console.btnClearClick();
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        console.btnReadEEPROM->click();
        while (!LastLineInView(console)) {
            if (clock.elapsed() > 10000 || dialogs.shown > 0) {
                state.SkipWithError("the dump's last line was not shown within 10 s");
                return;
            }
            QCoreApplication::processEvents();
        }
        totalMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    const double meanMs = totalMs / static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["mean_ms"] = meanMs;
    state.counters["x_floor"] = meanMs / floorMs;
}

BENCHMARK(EepromDumpFromTheConsole)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunWithApplication(argc, argv); }
