#include "link/LinkEnvironment.h"

#include <QCoreApplication>
#include <QThread>

namespace varkunda::link {

QtLinkEnvironment::QtLinkEnvironment() { clock_.start(); }

void QtLinkEnvironment::processEvents() { QCoreApplication::processEvents(); }

void QtLinkEnvironment::sleep(std::chrono::milliseconds duration) {
    if (duration.count() > 0) QThread::msleep(static_cast<unsigned long>(duration.count()));
}

std::chrono::milliseconds QtLinkEnvironment::now() {
    return std::chrono::milliseconds(clock_.elapsed());
}

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
