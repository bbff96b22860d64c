#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>

#include "link/ConnectionDoctor.h"

using namespace varkunda::link;
namespace fs = std::filesystem;

namespace {

// A Linux system tree in a temporary folder: USB devices and drivers in sys, device
// files in dev, processes in proc, groups in etc/group. Device files are plain files
// owned by whoever runs the test; the user examined is another one.
class FakeSystem {
public:
    FakeSystem() : root_(folder_.path().toStdString()) {
        fs::create_directories(root_ / "sys/bus/usb/devices");
        fs::create_directories(root_ / "dev");
        fs::create_directories(root_ / "proc");
        fs::create_directories(root_ / "etc");
        AddUsbDevice("usb1", "1d6b");  // a root hub
    }

    const fs::path& root() const { return root_; }

    void AddUsbDevice(const std::string& name, const std::string& vendor, int bus = 1,
                      int number = 5) {
        const fs::path device = root_ / "sys/bus/usb/devices" / name;
        fs::create_directories(device);
        Write(device / "idVendor", vendor + "\n");
        Write(device / "busnum", std::to_string(bus) + "\n");
        Write(device / "devnum", std::to_string(number) + "\n");
    }

    // An FTDI bridge "1-N" with one interface bound to `driver` ("" for none), having
    // the serial port `tty` ("" for none).
    void AddBridge(const std::string& name, const std::string& driver, const std::string& tty) {
        AddUsbDevice(name, "0403");
        const fs::path usbInterface = root_ / "sys/bus/usb/devices" / name / (name + ":1.0");
        fs::create_directories(usbInterface);
        if (!driver.empty())
            fs::create_symlink("../../../../../bus/usb/drivers/" + driver, usbInterface / "driver");
        if (!tty.empty()) fs::create_directories(usbInterface / tty / "tty" / tty);
    }

    void LoadSerialDriver() {
        fs::create_directories(root_ / "sys/bus/usb-serial/drivers/ftdi_sio");
    }

    fs::path AddDeviceFile(const std::string& name, fs::perms permissions) {
        const fs::path file = root_ / "dev" / name;
        fs::create_directories(file.parent_path());
        Write(file, "");
        fs::permissions(file, permissions);
        return file;
    }

    void AddProcess(long pid, const std::string& name, const std::vector<std::string>& open = {}) {
        const fs::path process = root_ / "proc" / std::to_string(pid);
        fs::create_directories(process / "fd");
        Write(process / "comm", name + "\n");
        int descriptor = 3;
        for (const std::string& target : open)
            fs::create_symlink(target, process / "fd" / std::to_string(descriptor++));
    }

    void InstallBrlttyRule() {
        fs::create_directories(root_ / "usr/lib/udev/rules.d");
        Write(root_ / "usr/lib/udev/rules.d/85-brltty.rules", "# brltty\n");
    }

    void MaskBrlttyRule() {
        fs::create_directories(root_ / "etc/udev/rules.d");
        fs::create_symlink("/dev/null", root_ / "etc/udev/rules.d/85-brltty.rules");
    }

    // The group of files made here, named "dialout" in etc/group with these members.
    void NameFileGroup(const std::string& members) {
        Write(root_ / "etc/group", "plugdev:x:" + std::to_string(FileGroup() + 1000) + ":" +
                                       members + "\ndialout:x:" + std::to_string(FileGroup()) +
                                       ":" + members + "\n");
    }

    std::uint32_t FileGroup() const {
        return QFileInfo(QString::fromStdString(root_.string())).groupId();
    }
    std::uint32_t FileOwner() const {
        return QFileInfo(QString::fromStdString(root_.string())).ownerId();
    }

    // Neither root nor the files' owner; in the files' group when `inGroup`.
    DoctorSystem System(bool inGroup) const {
        DoctorSystem system;
        system.root = root_;
        system.user.uid = FileOwner() + 1000;
        system.user.name = "player";
        system.user.groups = {FileGroup() + 1000};
        if (inGroup) system.user.groups.push_back(FileGroup());
        system.ownProcess = 999;
        return system;
    }

private:
    static void Write(const fs::path& file, const std::string& text) {
        std::ofstream(file) << text;
    }

    QTemporaryDir folder_;
    fs::path root_;
};

constexpr auto kReadWriteForGroup =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write;

// The usual healthy system: one bridge on ftdi_sio with /dev/ttyUSB0, crw-rw---- root:dialout.
void HealthyBridge(FakeSystem& system) {
    system.LoadSerialDriver();
    system.AddBridge("1-1", "ftdi_sio", "ttyUSB0");
    system.AddDeviceFile("ttyUSB0", kReadWriteForGroup);
    system.NameFileGroup("");
    system.AddProcess(1, "systemd");
}

struct DoctorCase {
    std::string name;
    std::function<void(FakeSystem&)> arrange;
    bool userInGroup;
    ConnectionCause cause;
    std::string port;
    std::string fixPart;  // a part of the message that names the fix
};

std::ostream& operator<<(std::ostream& out, const DoctorCase& c) { return out << c.name; }

class ConnectionDoctorCases : public ::testing::TestWithParam<DoctorCase> {};

TEST_P(ConnectionDoctorCases, NamesTheOneCauseAndItsFix) {
    const DoctorCase& c = GetParam();
    FakeSystem system;
    c.arrange(system);
    const ConnectionDiagnosis diagnosis = DiagnoseConnection(system.System(c.userInGroup));
    EXPECT_EQ(diagnosis.cause, c.cause) << diagnosis.text();
    EXPECT_EQ(diagnosis.port, c.port);
    EXPECT_NE(diagnosis.text().find(c.fixPart), std::string::npos) << diagnosis.text();
}

INSTANTIATE_TEST_SUITE_P(
    FakeSystems, ConnectionDoctorCases,
    ::testing::Values(
        DoctorCase{"Healthy", HealthyBridge, true, ConnectionCause::AllFine, "/dev/ttyUSB0",
                   "/dev/ttyUSB0 is ready"},
        DoctorCase{"PortOpenToEveryone",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddDeviceFile("ttyUSB0", kReadWriteForGroup | fs::perms::others_read |
                                                      fs::perms::others_write);
                   },
                   false, ConnectionCause::AllFine, "/dev/ttyUSB0", "is ready"},
        DoctorCase{"OnlyOtherUsbDevices",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddUsbDevice("1-2", "046d");
                   },
                   true, ConnectionCause::NoDevice, "", "Connect the pedal"},
        DoctorCase{"BrlttyClaimedTheBridge",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "usbfs", "");
                       s.AddProcess(812, "brltty");
                   },
                   true, ConnectionCause::Brltty, "", "sudo apt remove brltty"},
        DoctorCase{"BrlttyLeftTheBridgeUnbound",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "", "");
                       s.InstallBrlttyRule();
                   },
                   true, ConnectionCause::Brltty, "", "/etc/udev/rules.d/85-brltty.rules"},
        DoctorCase{"BrlttyHoldsThePort",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddProcess(812, "brltty", {"/dev/null", "/dev/ttyUSB0"});
                   },
                   true, ConnectionCause::Brltty, "/dev/ttyUSB0", "sudo apt remove brltty"},
        DoctorCase{"SerialDriverNotLoaded",
                   [](FakeSystem& s) {
                       s.AddBridge("1-1", "", "");
                       s.InstallBrlttyRule();
                   },
                   true, ConnectionCause::NoDriver, "", "sudo modprobe ftdi_sio"},
        DoctorCase{"BridgeUnboundWithBrlttyMasked",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "", "");
                       s.InstallBrlttyRule();
                       s.MaskBrlttyRule();
                   },
                   true, ConnectionCause::NoDriver, "",
                   "echo 1-1:1.0 | sudo tee /sys/bus/usb/drivers/ftdi_sio/bind"},
        DoctorCase{"BoundToAnotherDriver",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "usbhid", "");
                   },
                   true, ConnectionCause::NoDriver, "", "binds it to usbhid"},
        DoctorCase{"PortWithoutDeviceFile",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "ftdi_sio", "ttyUSB0");
                   },
                   true, ConnectionCause::NoDriver, "/dev/ttyUSB0", "plug it in again"},
        DoctorCase{"NotInTheGroup", HealthyBridge, false, ConnectionCause::NoPermission,
                   "/dev/ttyUSB0", "sudo usermod -aG dialout $USER"},
        DoctorCase{"JoinedTheGroupThisSession",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.NameFileGroup("guest,player");
                   },
                   false, ConnectionCause::NoPermission, "/dev/ttyUSB0", "log out and in again"},
        DoctorCase{"OwnerOnlyPort",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddDeviceFile("ttyUSB0", fs::perms::owner_read | fs::perms::owner_write);
                   },
                   true, ConnectionCause::NoPermission, "/dev/ttyUSB0", "udev rule"},
        DoctorCase{"AnotherProgramHoldsThePort",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddProcess(4242, "minicom", {"/dev/pts/1", "/dev/ttyUSB0"});
                   },
                   true, ConnectionCause::PortBusy, "/dev/ttyUSB0",
                   "minicom (process 4242), holds /dev/ttyUSB0 open. Close minicom, or end it: "
                   "kill 4242."},
        DoctorCase{"TheEditorItselfHoldsThePort",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddProcess(999, "varkunda-editor", {"/dev/ttyUSB0"});
                   },
                   true, ConnectionCause::AllFine, "/dev/ttyUSB0", "is ready"},
        DoctorCase{"AnotherProgramTookTheUsbDevice",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "usbfs", "");
                       s.AddProcess(3100, "ftdi-tool", {"/dev/bus/usb/001/005"});
                   },
                   true, ConnectionCause::PortBusy, "/dev/bus/usb/001/005", "kill 3100"},
        DoctorCase{"UsbDeviceTakenByAnUnknownProgram",
                   [](FakeSystem& s) {
                       s.LoadSerialDriver();
                       s.AddBridge("1-1", "usbfs", "");
                   },
                   true, ConnectionCause::PortBusy, "/dev/bus/usb/001/005", "D2XX"},
        DoctorCase{"OneGoodBridgeIsEnough",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddBridge("1-0", "", "");
                   },
                   true, ConnectionCause::AllFine, "/dev/ttyUSB0", "is ready"},
        DoctorCase{"FirstBridgesProblemWhenNoneWorks",
                   [](FakeSystem& s) {
                       HealthyBridge(s);
                       s.AddBridge("1-0", "", "");
                   },
                   false, ConnectionCause::NoDriver, "", "echo 1-0:1.0"}),
    [](const ::testing::TestParamInfo<DoctorCase>& info) { return info.param.name; });

TEST(ConnectionDoctor, CannotTellWithoutUsbDevicesInSys) {
    QTemporaryDir folder;
    DoctorSystem system;
    system.root = folder.path().toStdString();
    const ConnectionDiagnosis diagnosis = DiagnoseConnection(system);
    EXPECT_EQ(diagnosis.cause, ConnectionCause::CannotTell);
    EXPECT_EQ(diagnosis.fix, "");
}

TEST(ConnectionDoctor, RootMayOpenAnyPort) {
    FakeSystem fake;
    HealthyBridge(fake);
    fake.AddDeviceFile("ttyUSB0", fs::perms::none);
    DoctorSystem system = fake.System(false);
    system.user.uid = 0;
    EXPECT_EQ(DiagnoseConnection(system).cause, ConnectionCause::AllFine);
}

TEST(ConnectionDoctor, ExaminesTheRunningProcessOnThisMachine) {
    const DoctorSystem system = DoctorSystem::ThisMachine();
    EXPECT_EQ(system.root, fs::path("/"));
    EXPECT_TRUE(system.askKernelForAccess);
#if defined(Q_OS_UNIX)
    EXPECT_FALSE(system.user.groups.empty());
    EXPECT_GT(system.ownProcess, 0);
#endif
    // Whatever this machine has plugged in, the answer is one sentence or more.
    EXPECT_FALSE(DiagnoseConnection(system).finding.empty());
}

}  // namespace
