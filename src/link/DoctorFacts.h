#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "link/ConnectionDoctor.h"

// What the connection doctor reads from a Linux system tree: USB devices and their
// drivers in /sys, device files in /dev, processes in /proc, groups in /etc/group.
// Anything unreadable counts as absent.
namespace varkunda::link::doctor {

struct UsbInterface {
    std::string name;    // "1-1.2:1.0"
    std::string driver;  // the bound driver ("ftdi_sio", "usbfs"), empty when unbound
    std::string tty;     // its serial port ("ttyUSB0"), empty when it has none
};

struct FtdiBridge {
    std::string name;       // the USB device ("1-1.2")
    std::string usbDevice;  // its device file ("/dev/bus/usb/001/005")
    std::vector<UsbInterface> interfaces;
};

struct Process {
    long pid = 0;
    std::string name;
};

struct PortAccess {
    bool exists = false;
    bool mayReadWrite = false;
    std::string group;  // the file's group by name (or number)
    bool groupMayReadWrite = false;
    bool listedInGroup = false;  // /etc/group lists the user, the session may not have it yet
};

bool UsbDevicesVisible(const std::filesystem::path& root);
// USB devices of vendor 0403, by name.
std::vector<FtdiBridge> FtdiBridges(const std::filesystem::path& root);
bool SerialDriverLoaded(const std::filesystem::path& root, const std::string& driver);
std::vector<Process> Processes(const std::filesystem::path& root);
// A process other than `ownProcess` with `device` open, the first by process id.
std::optional<Process> HolderOf(const std::filesystem::path& root,
                                const std::vector<Process>& processes, const std::string& device,
                                long ownProcess);
// brltty's udev rule is installed and not masked in /etc/udev/rules.d.
bool BrlttyRuleActive(const std::filesystem::path& root);
PortAccess AccessOf(const DoctorSystem& system, const std::string& device);

}  // namespace varkunda::link::doctor
