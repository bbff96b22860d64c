#pragma once

#include <QElapsedTimer>

#include "link/LinkEnvironment.h"

namespace varkunda::link {

// The editor's surroundings of a wait: Qt's event loop, a real pause and a monotonic clock.
class QtLinkEnvironment final : public LinkEnvironment {
  public:
    QtLinkEnvironment();
    void processEvents() override;
    void sleep(std::chrono::milliseconds duration) override;
    std::chrono::milliseconds now() override;

  private:
    QElapsedTimer clock_;
};

}  // namespace varkunda::link
