#include "link/ConnectionDoctor.h"

#include <QtGlobal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/DoctorFacts.h"

#if defined(Q_OS_UNIX)
#include <pwd.h>
#include <unistd.h>
#endif

namespace varkunda::link {
namespace {

using namespace doctor;

constexpr const char* kSerialDriver = "ftdi_sio";

struct Facts {
    const DoctorSystem& system;
    std::vector<Process> processes;
    bool brlttyRunning = false;
    bool brlttyRuleActive = false;
    bool serialDriverLoaded = false;
};

ConnectionDiagnosis Diagnosis(ConnectionCause cause, std::string port, std::string finding,
                              std::string fix) {
    return {cause, std::move(port), std::move(finding), std::move(fix)};
}

std::string ProgramText(const Process& process) {
    return process.name + " (process " + std::to_string(process.pid) + ")";
}

ConnectionDiagnosis BrlttyTookIt(const std::string& port, std::string finding) {
    return Diagnosis(ConnectionCause::Brltty, port, std::move(finding),
                     "If you use no braille display, remove brltty: sudo apt remove brltty. "
                     "To keep it, disable its udev rule: sudo ln -s /dev/null "
                     "/etc/udev/rules.d/85-brltty.rules. Then unplug the pedal and plug it in "
                     "again.");
}

ConnectionDiagnosis NoPermission(const std::string& port, const PortAccess& access) {
    const std::string finding = "You may not read and write " + port +
                                ", which belongs to the group \"" + access.group + "\".";
    if (access.groupMayReadWrite && access.listedInGroup)
        return Diagnosis(ConnectionCause::NoPermission, port, finding,
                         "You joined the group \"" + access.group +
                             "\" after this session began: log out and in again.");
    std::string fix =
        "Install the editor's Debian package, whose udev rule lets the logged-in user open FTDI "
        "bridges, then unplug the pedal and plug it in again";
    if (access.groupMayReadWrite)
        fix += "; or join the group: sudo usermod -aG " + access.group +
               " $USER, then log out and in again";
    return Diagnosis(ConnectionCause::NoPermission, port, finding, fix + ".");
}

// A bridge interface that has its serial port.
ConnectionDiagnosis ExaminePort(const Facts& facts, const UsbInterface& usbInterface) {
    const std::string port = "/dev/" + usbInterface.tty;
    const PortAccess access = AccessOf(facts.system, port);
    if (!access.exists)
        return Diagnosis(ConnectionCause::NoDriver, port,
                         "The FTDI bridge's serial port " + usbInterface.tty +
                             " has no device file " + port + ".",
                         "Unplug the pedal and plug it in again.");
    const auto holder = HolderOf(facts.system.root, facts.processes, port, facts.system.ownProcess);
    if (holder && holder->name == "brltty")
        return BrlttyTookIt(port, "brltty, the braille display service, holds " + port + " open.");
    if (holder)
        return Diagnosis(
            ConnectionCause::PortBusy, port,
            "Another program, " + ProgramText(*holder) + ", holds " + port + " open.",
            "Close " + holder->name + ", or end it: kill " + std::to_string(holder->pid) + ".");
    if (!access.mayReadWrite) return NoPermission(port, access);
    return Diagnosis(ConnectionCause::AllFine, port,
                     "The FTDI bridge's serial port " + port +
                         " is ready: you may open it and no other program holds it.",
                     "");
}

// A program took the bridge's USB device itself (through usbfs), which unbinds ftdi_sio.
ConnectionDiagnosis ExamineClaimedBridge(const Facts& facts, const FtdiBridge& bridge) {
    const auto holder =
        HolderOf(facts.system.root, facts.processes, bridge.usbDevice, facts.system.ownProcess);
    if (facts.brlttyRunning || (holder && holder->name == "brltty"))
        return BrlttyTookIt("",
                            "brltty, the braille display service, has taken the FTDI bridge, "
                            "so it has no serial port.");
    const std::string replug = " Then unplug the pedal and plug it in again.";
    if (holder)
        return Diagnosis(ConnectionCause::PortBusy, bridge.usbDevice,
                         "Another program, " + ProgramText(*holder) +
                             ", has taken the FTDI bridge through its USB device, so it has no "
                             "serial port.",
                         "Close " + holder->name + ", or end it: kill " +
                             std::to_string(holder->pid) + "." + replug);
    return Diagnosis(ConnectionCause::PortBusy, bridge.usbDevice,
                     "Another program has taken the FTDI bridge through its USB device (as the "
                     "FTDI D2XX library does), so it has no serial port.",
                     "Close the programs that use the pedal or other FTDI devices." + replug);
}

ConnectionDiagnosis ExamineUnboundBridge(const Facts& facts, const UsbInterface& usbInterface) {
    if (!facts.serialDriverLoaded)
        return Diagnosis(ConnectionCause::NoDriver, "",
                         "The kernel's FTDI serial driver ftdi_sio is not loaded, so the bridge "
                         "has no serial port.",
                         "Load it: sudo modprobe ftdi_sio, then unplug the pedal and plug it in "
                         "again.");
    // brltty claims the bridge when it appears and may leave it unbound when it lets go.
    if (facts.brlttyRunning || facts.brlttyRuleActive)
        return BrlttyTookIt("",
                            "brltty, the braille display service, has taken the FTDI bridge "
                            "from the kernel's serial driver, so it has no serial port.");
    return Diagnosis(ConnectionCause::NoDriver, "",
                     "The FTDI bridge is not bound to the kernel's serial driver ftdi_sio, so it "
                     "has no serial port.",
                     "Unplug the pedal and plug it in again, or bind it: echo " +
                         usbInterface.name + " | sudo tee /sys/bus/usb/drivers/ftdi_sio/bind");
}

ConnectionDiagnosis ExamineInterface(const Facts& facts, const FtdiBridge& bridge,
                                     const UsbInterface& usbInterface) {
    if (usbInterface.driver == kSerialDriver && !usbInterface.tty.empty())
        return ExaminePort(facts, usbInterface);
    if (usbInterface.driver == "usbfs") return ExamineClaimedBridge(facts, bridge);
    if (usbInterface.driver.empty()) return ExamineUnboundBridge(facts, usbInterface);
    return Diagnosis(ConnectionCause::NoDriver, "",
                     "The FTDI bridge is bound to the driver " + usbInterface.driver +
                         ", not to the serial driver ftdi_sio, so it has no serial port.",
                     "Unplug the pedal and plug it in again; if that does not help, a udev "
                     "rule or a program binds it to " +
                         usbInterface.driver + ".");
}

}  // namespace

std::string ConnectionDiagnosis::text() const {
    return fix.empty() ? finding : finding + " " + fix;
}

DoctorSystem DoctorSystem::ThisMachine() {
    DoctorSystem system;
    system.askKernelForAccess = true;
#if defined(Q_OS_UNIX)
    system.user.uid = getuid();
    if (const passwd* entry = getpwuid(getuid())) system.user.name = entry->pw_name;
    system.user.groups.push_back(getgid());
    const int count = getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int read = getgroups(count, groups.data());
        for (int i = 0; i < read; ++i) system.user.groups.push_back(groups[i]);
    }
    system.ownProcess = getpid();
#endif
    return system;
}

// One bridge the user can open is enough; otherwise the first bridge's first problem.
ConnectionDiagnosis DiagnoseConnection(const DoctorSystem& system) {
    if (!UsbDevicesVisible(system.root))
        return Diagnosis(ConnectionCause::CannotTell, "",
                         "This system shows no USB devices in /sys, so the connection cannot be "
                         "examined.",
                         "");
    const std::vector<FtdiBridge> bridges = FtdiBridges(system.root);
    if (bridges.empty())
        return Diagnosis(ConnectionCause::NoDevice, "",
                         "No FTDI USB bridge (vendor 0403) is connected.",
                         "Connect the pedal with a USB data cable and switch it on; if it is "
                         "connected, try another cable or USB socket.");

    Facts facts{system, Processes(system.root)};
    for (const Process& process : facts.processes)
        facts.brlttyRunning = facts.brlttyRunning || process.name == "brltty";
    facts.brlttyRuleActive = BrlttyRuleActive(system.root);
    facts.serialDriverLoaded = SerialDriverLoaded(system.root, kSerialDriver);

    std::optional<ConnectionDiagnosis> firstProblem;
    for (const FtdiBridge& bridge : bridges) {
        // A bridge whose interface is not set up yet: FTDI's first interface is 1.0.
        if (bridge.interfaces.empty() && !firstProblem)
            firstProblem = ExamineUnboundBridge(facts, UsbInterface{bridge.name + ":1.0", "", ""});
        for (const UsbInterface& usbInterface : bridge.interfaces) {
            ConnectionDiagnosis diagnosis = ExamineInterface(facts, bridge, usbInterface);
            if (diagnosis.cause == ConnectionCause::AllFine) return diagnosis;
            if (!firstProblem) firstProblem = std::move(diagnosis);
        }
    }
    return *firstProblem;
}

}  // namespace varkunda::link
