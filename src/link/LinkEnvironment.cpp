#include "link/LinkEnvironment.h"

namespace varkunda::link {

void FakeLinkEnvironment::processEvents() {
    ++processEventsCalls_;
    if (onProcessEvents) onProcessEvents();
}

void FakeLinkEnvironment::sleep(std::chrono::milliseconds duration) {
    now_ += duration;
    slept_ += duration;
    if (onSleep) onSleep(duration);
}

}  // namespace varkunda::link
