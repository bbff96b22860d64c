// A preset saved and loaded back through the windows: Save Preset (the status request,
// the file written) and Load Preset (the file read, the values sent through the effect
// window) against the software pedal without wire pacing, on the real clock with the
// real 200 ms pause of the status request. The figure is reported; the pause is printed
// beside it, as the part of it no editor can avoid.
#include <QTemporaryDir>

#include "EditorBenchSupport.h"
#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "effects/ArcDial.h"
#include "effects/TformFXsettings.h"
#include "link/StatusRequest.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"

namespace {

// Answers both file dialogs with one file and counts the messages.
class PresetDialogs : public Dialogs {
  public:
    explicit PresetDialogs(QString file) : file_(std::move(file)) {}
    void showMessage(const QString& text) override { last = text; }
    Answer askYesNo(const QString&) override { return Answer::Yes; }
    QString openFileName(const QString&, const QString&, const QString&) override { return file_; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return file_; }
    QString last;

  private:
    QString file_;
};

void PresetSaveAndLoad(benchmark::State& state) {
    QTemporaryDir documents;
    qputenv("VARKUNDA_DOCUMENTS", documents.path().toLocal8Bit());
    varkunda::link::SimulatedD2xx device;
    PresetDialogs dialogs(documents.filePath(QStringLiteral("bench.txt")));
    EditorServices services;
    services.dialogs = &dialogs;
    EditorApplication editor(device, services);
    editor.show();
    TformMain& main = editor.formMain();
    main.Link();
    if (!editor.context().DeviceLinked) {
        state.SkipWithError("the software pedal could not be linked");
        return;
    }
    TformFXsettings& effects = editor.formFXsettings();

    double totalMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        main.menuSavePresetClick();
        const qint64 saveNs = clock.nsecsElapsed();
        const bool written = dialogs.last.startsWith(QStringLiteral("File saved successfully"));
        state.PauseTiming();
        const auto saved = device.pedal(0)->state().parameters;
        effects.dialDry->setAngle(effects.dialDry->angle() == 120 ? 100 : 120);
        effects.Timer1Timer();
        state.ResumeTiming();
        clock.restart();
        main.menuLoadPresetClick();
        totalMs += static_cast<double>(saveNs + clock.nsecsElapsed()) / 1e6;
        if (!written || device.pedal(0)->state().parameters != saved) {
            state.SkipWithError("the preset did not bring the pedal's values back");
            return;
        }
    }
    state.counters["pause_ms"] = static_cast<double>(varkunda::link::kStatusReplyPause.count());
    state.counters["mean_ms"] = totalMs / static_cast<double>(state.iterations());
}

BENCHMARK(PresetSaveAndLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunWithApplication(argc, argv); }
