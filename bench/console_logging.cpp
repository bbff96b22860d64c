// The EEPROM dump's 16 384 console lines with auto-scroll on, until the console's
// view shows the last line. Target: under 0.3 s.
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include "EditorBenchSupport.h"
#include "app/EditorApplication.h"
#include "console/TformPrint.h"
#include "link/backends/NoDeviceBackend.h"

namespace {

constexpr int kDumpLines = 16384;

void LogEepromDump(benchmark::State& state) {
    QTemporaryDir documents;
    qputenv("VARKUNDA_DOCUMENTS", documents.path().toLocal8Bit());
    EditorApplication editor(std::make_unique<varkunda::link::NoDeviceBackend>());
    TformPrint& console = editor.formPrint();
    console.show();
    if (!bench_support::WaitUntilExposed(console)) {
        state.SkipWithError("the console was not exposed within 5 s");
        return;
    }
    QScrollBar& view = *console.Memo1->verticalScrollBar();
    for (auto _ : state) {
        console.btnClearClick();
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        for (int address = 0; address < kDumpLines; ++address)
            editor.context().ConsolePrint(
                QStringLiteral("%1: %2").arg(address, 4, 16, QLatin1Char('0')).arg(address % 256));
        while (view.value() != view.maximum() || view.maximum() == 0) {
            if (clock.elapsed() > 10000) {
                state.SkipWithError("the view did not reach the end within 10 s");
                return;
            }
            QCoreApplication::processEvents();
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["lines"] = kDumpLines;
}

BENCHMARK(LogEepromDump)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunWithApplication(argc, argv); }
