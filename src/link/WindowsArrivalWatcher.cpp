// Windows: the device-change messages the system sends to the editor's windows. Serial
// ports (the bridges' virtual COM ports) are announced to every top-level window.
#ifdef _WIN32

#include <dbt.h>
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include "link/DeviceArrivalWatcher.h"

namespace varkunda::link {
namespace {

class WindowsArrivalWatcher final : public DeviceArrivalWatcher, public QAbstractNativeEventFilter {
  public:
    WindowsArrivalWatcher() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~WindowsArrivalWatcher() override {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    WindowsArrivalWatcher(const WindowsArrivalWatcher&) = delete;
    WindowsArrivalWatcher& operator=(const WindowsArrivalWatcher&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_generic_MSG") return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_DEVICECHANGE) return false;
        if (msg->wParam == DBT_DEVICEARRIVAL) noteArrival();
        if (msg->wParam == DBT_DEVICEREMOVECOMPLETE) noteRemoval();
        return false;  // the windows get the message as well
    }
};

}  // namespace

std::unique_ptr<DeviceArrivalWatcher> CreateSystemArrivalWatcher() {
    if (!QCoreApplication::instance()) return nullptr;
    return std::make_unique<WindowsArrivalWatcher>();
}

}  // namespace varkunda::link

#endif
