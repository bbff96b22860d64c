// Linux: udev's monitor of the usb and tty subsystems, read when its socket has an event.
#ifdef __linux__

#include <libudev.h>

#include <QSocketNotifier>
#include <cstring>

#include "link/DeviceArrivalWatcher.h"

namespace varkunda::link {
namespace {

// FTDI's USB vendor id, as udev's usb_id gives it and as the kernel's PRODUCT variable
// of a USB device starts ("403/6001/600").
constexpr const char* kFtdiVendor = "0403";
constexpr const char* kFtdiProductPrefix = "403/";

bool IsFtdi(udev_device* device) {
    const char* vendor = udev_device_get_property_value(device, "ID_VENDOR_ID");
    if (vendor && std::strcmp(vendor, kFtdiVendor) == 0) return true;
    const char* product = udev_device_get_property_value(device, "PRODUCT");
    return product &&
           std::strncmp(product, kFtdiProductPrefix, std::strlen(kFtdiProductPrefix)) == 0;
}

class UdevArrivalWatcher final : public DeviceArrivalWatcher {
  public:
    UdevArrivalWatcher(udev* context, udev_monitor* monitor)
        : udev_(context),
          monitor_(monitor),
          notifier_(udev_monitor_get_fd(monitor), QSocketNotifier::Read) {
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { readEvents(); });
    }
    ~UdevArrivalWatcher() override {
        udev_monitor_unref(monitor_);
        udev_unref(udev_);
    }
    UdevArrivalWatcher(const UdevArrivalWatcher&) = delete;
    UdevArrivalWatcher& operator=(const UdevArrivalWatcher&) = delete;

  private:
    // The monitor's socket does not block: this takes what has come and returns.
    void readEvents() {
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            const char* action = udev_device_get_action(device);
            if (action && IsFtdi(device)) {
                if (std::strcmp(action, "add") == 0) noteArrival();
                if (std::strcmp(action, "remove") == 0) noteRemoval();
            }
            udev_device_unref(device);
        }
    }

    udev* udev_;
    udev_monitor* monitor_;
    QSocketNotifier notifier_;
};

}  // namespace

std::unique_ptr<DeviceArrivalWatcher> CreateSystemArrivalWatcher() {
    udev* context = udev_new();
    if (!context) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", "usb_device") < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor) udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevArrivalWatcher>(context, monitor);
}

}  // namespace varkunda::link

#endif
