#include "link/backends/SimulatedArrivalWatcher.h"

namespace varkunda::link {
namespace {
// The USB device, its interface and its serial port.
constexpr int kEventsPerPlug = 3;
}  // namespace

void SimulatedArrivalWatcher::plugIn(sim::PedalSimulator& pedal, bool shiftHeld) {
    pedal.replug(shiftHeld);
    for (int event = 0; event < kEventsPerPlug; ++event) noteArrival();
}

void SimulatedArrivalWatcher::pullOut(sim::PedalSimulator& pedal) {
    pedal.unplug();
    for (int event = 0; event < kEventsPerPlug; ++event) noteRemoval();
}

}  // namespace varkunda::link
