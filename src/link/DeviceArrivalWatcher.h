#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>

namespace varkunda::link {

// Tells when FTDI bridges are plugged in or pulled out, as the system reports it. The
// system reports one plug as several events (the USB device, its interface, its serial
// port, one per window on Windows); events that follow each other within the settling
// time are told once, after the last of them, as at most one removal and one arrival.
class DeviceArrivalWatcher : public QObject {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kSettlingTime{300};

    explicit DeviceArrivalWatcher(std::chrono::milliseconds settlingTime = kSettlingTime);

  signals:
    void devicesRemoved();
    void devicesArrived();

  protected:
    // Called by the implementations for each event the system reports.
    void noteArrival();
    void noteRemoval();

  private:
    void tell();

    QTimer settle_;
    bool arrived_ = false;
    bool removed_ = false;
};

// The watcher of this system (udev on Linux, device-change messages on Windows); null
// where there is none or it cannot be set up.
std::unique_ptr<DeviceArrivalWatcher> CreateSystemArrivalWatcher();

}  // namespace varkunda::link
