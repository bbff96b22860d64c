#pragma once

#include <chrono>
#include <functional>

namespace varkunda::link {

// What a wait for the pedal needs from its surroundings: a way to let the window
// process its events, a blocking pause and a monotonic clock. The editor uses
// QtLinkEnvironment; tests use FakeLinkEnvironment, whose clock only moves when slept.
class LinkEnvironment {
  public:
    virtual ~LinkEnvironment() = default;
    virtual void processEvents() = 0;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    // Time since an arbitrary fixed start; only differences mean anything.
    virtual std::chrono::milliseconds now() = 0;
};

// A clock that advances only by the pauses it is asked for, so the fixed pauses and
// time limits of the link cost no real time in tests. Hooks let a test deliver bytes
// or change the device while a wait runs.
class FakeLinkEnvironment final : public LinkEnvironment {
  public:
    void processEvents() override;
    void sleep(std::chrono::milliseconds duration) override;
    std::chrono::milliseconds now() override { return now_; }

    void advance(std::chrono::milliseconds duration) { now_ += duration; }
    std::chrono::milliseconds totalSlept() const { return slept_; }
    int processEventsCalls() const { return processEventsCalls_; }

    std::function<void()> onProcessEvents;
    std::function<void(std::chrono::milliseconds)> onSleep;

  private:
    std::chrono::milliseconds now_{0};
    std::chrono::milliseconds slept_{0};
    int processEventsCalls_ = 0;
};

}  // namespace varkunda::link
