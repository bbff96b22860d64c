#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace varkunda::link {

// Why the pedal's FTDI bridge cannot be reached as a serial port on Linux, worked out
// from what the system shows in /sys, /dev, /proc and /etc/group. One cause is named,
// with the fix.
enum class ConnectionCause {
    AllFine,       // a bridge's port the user may open and no other program holds
    NoDevice,      // no USB device of FTDI's vendor id 0403
    Brltty,        // the braille display service took the bridge or holds its port
    NoDriver,      // the kernel's ftdi_sio is not loaded or not bound to the bridge
    NoPermission,  // the user may not read and write the port
    PortBusy,      // another program holds the port or the bridge's USB device
    CannotTell,    // the system shows no USB devices in /sys (not Linux)
};

struct ConnectionDiagnosis {
    ConnectionCause cause = ConnectionCause::CannotTell;
    std::string port;     // the port concerned ("/dev/ttyUSB0"), when there is one
    std::string finding;  // one sentence: what is wrong, or that all is well
    std::string fix;      // what to do about it; empty when there is nothing to do

    // The finding and the fix as one message.
    std::string text() const;
};

// Whose access is checked: the user and the groups of the running session.
struct DoctorUser {
    std::uint32_t uid = 0;
    std::string name;
    std::vector<std::uint32_t> groups;
};

// What is examined. Tests point `root` at a fake tree and name a user of their own.
struct DoctorSystem {
    std::filesystem::path root = "/";
    DoctorUser user;
    long ownProcess = 0;  // this process: a port it holds itself does not count as busy
    // Also ask the kernel whether the running process may open the port, which sees
    // access lists (the udev rule's uaccess tag grants access through one).
    bool askKernelForAccess = false;

    // The real system, as the running process sees it.
    static DoctorSystem ThisMachine();
};

ConnectionDiagnosis DiagnoseConnection(const DoctorSystem& system);

}  // namespace varkunda::link
