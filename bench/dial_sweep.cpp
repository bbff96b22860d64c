// A player sweeps the Dry dial from its minimum to its maximum stop within one second,
// against the in-process software pedal with its wire pacing on. Prints how many
// messages reached the pedal, whether the last one held the final position, and how
// long after the last movement the pedal's parameter changed (the send timer's floor
// is 100 ms).
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/EditorContext.h"
#include "effects/ArcDial.h"
#include "effects/TformFXsettings.h"
#include "link/D2xxAccess.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"
#include "platform/QtResourceStore.h"
#include "platform/Shell.h"
#include "protocol/Parameters.h"
#include "protocol/ValueEncoding.h"

namespace {

class SilentDialogs : public Dialogs {
  public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    Answer askYesNo(const QString&) override { return Answer::Yes; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

class NoFolders : public KnownFolders {
  public:
    QString documents() const override { return {}; }
    QString temporary() const override { return {}; }
    QString programFolder() const override { return {}; }
    QString programFile() const override { return {}; }
    QString fileVersion(const QString&) const override { return {}; }
};

class NoShell : public Shell {
  public:
    bool openUrl(const QString&) override { return false; }
    bool canStartElevated() const override { return false; }
    bool startElevated(const QString&, const QString&) override { return false; }
};

// Lets the window's timers run until `done` holds or `limitMs` passed.
template <typename Done>
bool RunEventsUntil(Done done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    varkunda::link::SimulatedD2xx driver;
    auto pedal = driver.pedal(0);
    pedal->setPacing(true);
    varkunda::link::D2xxAccess device(driver);
    device.Open_USB_Device_By_Serial_Number(pedal->identity().serialNumber);
    device.SetLineParameters(varkunda::link::LineMode::NormalLine);

    SilentDialogs dialogs;
    NoFolders folders;
    QtResourceStore resources;
    NoShell shell;
    EditorContext context(dialogs, folders, resources, shell, device);
    context.SelectedEffectName = "Varkunda TZ5 0014";
    context.DeviceLinked = true;
    TformFXsettings window(context);
    window.show();
    window.EnableWindowControls(true);

    constexpr std::size_t kDry = varkunda::protocol::param::kDry;
    constexpr int kSweepMs = 1000;
    constexpr int kSteps = ArcDial::kSweep;  // one degree per step
    const std::uint32_t finalValue = varkunda::protocol::DialAngleToValue(ArcDial::kMaximumStop);
    pedal->state().parameters[kDry] = 0x12345678;  // a value no dial position sends
    pedal->clearWireLog();

    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step <= kSteps; ++step) {
        RunEventsUntil([&] { return clock.elapsed() >= step * kSweepMs / kSteps; }, kSweepMs);
        window.dialDry->setAngle(ArcDial::angleAtSweepPosition(step));
    }
    const qint64 lastMovementMs = clock.elapsed();
    QElapsedTimer settle;
    settle.start();
    const bool arrived =
        RunEventsUntil([&] { return pedal->state().parameters[kDry] == finalValue; }, 2000);
    const qint64 delayMs = settle.elapsed();
    RunEventsUntil([] { return false; }, 300);  // anything still on its way

    const auto& writes = pedal->wireLog();
    const bool lastHoldsFinal =
        !writes.empty() && writes.back().bytes.size() == 7 &&
        (std::uint32_t(writes.back().bytes[3]) << 24 | std::uint32_t(writes.back().bytes[4]) << 16 |
         std::uint32_t(writes.back().bytes[5]) << 8 | writes.back().bytes[6]) == finalValue;
    const double bursts = double(lastMovementMs) / 100.0;

    std::printf("dial sweep: %d positions in %lld ms\n", kSteps,
                static_cast<long long>(lastMovementMs));
    std::printf(
        "messages written to the pedal: %zu (send timer allows at most %.0f, one per 100 ms)\n",
        writes.size(), bursts + 1.0);
    std::printf("last message holds the final position: %s\n", lastHoldsFinal ? "yes" : "no");
    if (arrived)
        std::printf("last movement to the pedal's parameter changing: %lld ms (floor 100 ms)\n",
                    static_cast<long long>(delayMs));
    else
        std::printf("the pedal's parameter never reached the final value\n");

    // One step after the dial has been still: the whole send delay is paid.
    const std::uint32_t stepValue =
        varkunda::protocol::DialAngleToValue(ArcDial::angleAtSweepPosition(ArcDial::kSweep - 1));
    QElapsedTimer single;
    single.start();
    window.dialDry->setAngle(ArcDial::angleAtSweepPosition(ArcDial::kSweep - 1));
    const bool stepArrived =
        RunEventsUntil([&] { return pedal->state().parameters[kDry] == stepValue; }, 2000);
    std::printf(
        "single step after a still dial reaches the pedal after: %lld ms (floor 100 ms, "
        "7 bytes on the wire %.2f ms)\n",
        static_cast<long long>(single.elapsed()), 7 * 10 * 1000.0 / 115200.0);
    return arrived && lastHoldsFinal && stepArrived ? 0 : 1;
}
