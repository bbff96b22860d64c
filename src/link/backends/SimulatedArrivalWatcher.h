#pragma once

#include "link/DeviceArrivalWatcher.h"
#include "sim/PedalSimulator.h"

namespace varkunda::link {

// Arrivals of software pedals: plugs a pedal in or pulls it out, and reports it as the
// system reports a bridge, with several events for the one plug.
class SimulatedArrivalWatcher final : public DeviceArrivalWatcher {
  public:
    using DeviceArrivalWatcher::DeviceArrivalWatcher;

    void plugIn(sim::PedalSimulator& pedal, bool shiftHeld = false);
    void pullOut(sim::PedalSimulator& pedal);
};

}  // namespace varkunda::link
