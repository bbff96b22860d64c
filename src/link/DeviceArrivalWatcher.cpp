#include "link/DeviceArrivalWatcher.h"

#include <utility>

namespace varkunda::link {

DeviceArrivalWatcher::DeviceArrivalWatcher(std::chrono::milliseconds settlingTime) {
    settle_.setSingleShot(true);
    settle_.setInterval(settlingTime);
    connect(&settle_, &QTimer::timeout, this, &DeviceArrivalWatcher::tell);
}

void DeviceArrivalWatcher::noteArrival() {
    arrived_ = true;
    settle_.start();
}

void DeviceArrivalWatcher::noteRemoval() {
    removed_ = true;
    settle_.start();
}

// A pedal pulled out and plugged in again within the settling time is told as both, the
// removal first, so the editor lets go of the old device before it offers the new one.
void DeviceArrivalWatcher::tell() {
    const bool removed = std::exchange(removed_, false);
    const bool arrived = std::exchange(arrived_, false);
    if (removed) emit devicesRemoved();
    if (arrived) emit devicesArrived();
}

#if !defined(__linux__) && !defined(_WIN32)
std::unique_ptr<DeviceArrivalWatcher> CreateSystemArrivalWatcher() { return nullptr; }
#endif

}  // namespace varkunda::link
