// Start-up of the whole editor until the main window is on the screen, and the
// resident memory it then takes. Targets: under 0.5 s, under 80 MB. The first run
// is the cold start a user sees (fonts, styles and plug-ins loaded for the first
// time); the runs after it show what is left once those are cached in the process.
#include <QTemporaryDir>

#include "EditorBenchSupport.h"
#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "link/backends/NoDeviceBackend.h"

namespace {

void StartEditor(benchmark::State& state) {
    QTemporaryDir documents;
    qputenv("VARKUNDA_DOCUMENTS", documents.path().toLocal8Bit());
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto editor = std::make_unique<EditorApplication>(
            std::make_unique<varkunda::link::NoDeviceBackend>());
        editor->show();
        if (!bench_support::WaitUntilExposed(editor->formMain())) {
            state.SkipWithError("the main window was not exposed within 5 s");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        state.counters["VmRSS_MB"] = bench_support::ResidentMegabytes();
    }
}

BENCHMARK(StartEditor)
    ->Name("StartupCold")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StartEditor)->Name("StartupWarm")->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunWithApplication(argc, argv); }
