// The connection doctor in the window: a scan that finds nothing, or a port that does
// not open, has the doctor's cause and fix in the console, and an explicit Scan also in
// its message, after the message's own words.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>

#include "PedalFixture.h"
#include "link/ConnectionDoctor.h"

using namespace pedal_test;
namespace fs = std::filesystem;

namespace {

// A Linux system tree of the few files the doctor reads: USB devices in sys, device
// files in dev, processes in proc.
class FakeTree {
  public:
    FakeTree() : root_(folder_.path().toStdString()) {}

    void usbDevice(const std::string& name, const std::string& vendor) {
        write(root_ / "sys/bus/usb/devices" / name / "idVendor", vendor + "\n");
    }
    // An FTDI bridge whose first interface is bound to `driver`, with its port `tty`.
    void bridge(const std::string& driver, const std::string& tty) {
        usbDevice("usb1", "1d6b");
        usbDevice("1-1", "0403");
        const fs::path usbInterface = root_ / "sys/bus/usb/devices/1-1/1-1:1.0";
        fs::create_directories(usbInterface);
        fs::create_symlink("../../../../../bus/usb/drivers/" + driver, usbInterface / "driver");
        if (!tty.empty()) {
            fs::create_directories(usbInterface / tty / "tty" / tty);
            write(root_ / "dev" / tty, "");
            fs::permissions(root_ / "dev" / tty, fs::perms::all);
        }
        fs::create_directories(root_ / "sys/bus/usb-serial/drivers/ftdi_sio");
    }
    void process(long pid, const std::string& name, const std::string& open = {}) {
        const fs::path folder = root_ / "proc" / std::to_string(pid);
        write(folder / "comm", name + "\n");
        fs::create_directories(folder / "fd");
        if (!open.empty()) fs::create_symlink(open, folder / "fd/3");
    }

    varkunda::link::DoctorSystem system() const {
        varkunda::link::DoctorSystem system;
        system.root = root_;
        system.user.uid = 4242;
        system.user.name = "player";
        system.ownProcess = 999;
        return system;
    }

  private:
    static void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    QTemporaryDir folder_;
    fs::path root_;
};

QStringList DoctorLines(const QStringList& console) {
    return console.filter(QStringLiteral("Connection doctor: "));
}

struct ScanCase {
    const char* name;
    std::function<void(FakeTree&)> arrange;
    QString said;  // the doctor's words; empty when it has none
};

class ScanFindsNothing : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanFindsNothing, SaysTheCauseAfterNoDeviceFound) {
    const ScanCase& c = GetParam();
    FakeTree tree;
    c.arrange(tree);
    const varkunda::link::DoctorSystem system = tree.system();
    PedalEditor pedal;
    pedal.pedal().unplug();
    pedal.editor.doctorSystem = &system;
    pedal.editor.restart();
    pedal.editor.dialogs.clear();
    pedal.markConsole();

    pedal.main().menuScan->trigger();

    EXPECT_EQ(pedal.editor.dialogs.messages,
              QStringList({c.said.isEmpty() ? "No device found" : "No device found\r\n" + c.said}));
    EXPECT_EQ(DoctorLines(pedal.consoleSinceMark()),
              c.said.isEmpty() ? QStringList() : QStringList({"Connection doctor: " + c.said}));
    EXPECT_EQ(pedal.main().lblDeviceName->text(), "No device found");
}

INSTANTIATE_TEST_SUITE_P(
    FakeSystems, ScanFindsNothing,
    ::testing::Values(
        ScanCase{"NoBridge", [](FakeTree& t) { t.usbDevice("usb1", "1d6b"); },
                 "No FTDI USB bridge (vendor 0403) is connected. Connect the pedal with a USB "
                 "data cable and switch it on; if it is connected, try another cable or USB "
                 "socket."},
        ScanCase{"BrlttyTookTheBridge",
                 [](FakeTree& t) {
                     t.bridge("usbfs", "");
                     t.process(812, "brltty");
                 },
                 "brltty, the braille display service, has taken the FTDI bridge, so it has no "
                 "serial port. If you use no braille display, remove brltty: sudo apt remove "
                 "brltty. To keep it, disable its udev rule: sudo ln -s /dev/null "
                 "/etc/udev/rules.d/85-brltty.rules. Then unplug the pedal and plug it in "
                 "again."},
        ScanCase{"PortReady", [](FakeTree& t) { t.bridge("ftdi_sio", "ttyUSB0"); }, ""},
        ScanCase{"NoUsbInSys", [](FakeTree&) {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Link on a port another program holds: the cause goes to the console only.
TEST(LinkThatCannotOpen, WritesTheCauseToTheConsole) {
    FakeTree tree;
    tree.bridge("ftdi_sio", "ttyUSB0");
    tree.process(77, "minicom", "/dev/ttyUSB0");
    const varkunda::link::DoctorSystem system = tree.system();
    PedalEditor pedal;
    pedal.editor.doctorSystem = &system;
    pedal.editor.restart();
    varkunda::link::FtHandle elsewhere = 0;
    ASSERT_EQ(pedal.device.openBySerialNumber(pedal.pedal().identity().serialNumber, elsewhere),
              varkunda::link::ft::OK);
    pedal.editor.dialogs.clear();
    pedal.markConsole();

    pedal.link();

    const QString said =
        "Another program, minicom (process 77), holds /dev/ttyUSB0 open. Close minicom, or end "
        "it: kill 77.";
    EXPECT_FALSE(pedal.context().DeviceLinked);
    EXPECT_EQ(DoctorLines(pedal.consoleSinceMark()), QStringList({"Connection doctor: " + said}));
    EXPECT_TRUE(pedal.editor.dialogs.messages.filter("minicom").isEmpty());
}

}  // namespace
