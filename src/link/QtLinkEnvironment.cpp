#include "link/QtLinkEnvironment.h"

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

}  // namespace varkunda::link
