#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "CliFixture.h"
#include "effects/FXsettingsTexts.h"
#include "link/ConnectionDoctor.h"
#include "protocol/Messages.h"
#include "protocol/Parameters.h"

namespace {

using namespace varkunda;
namespace exitstatus = cli::exitstatus;
namespace fs = std::filesystem;
namespace param = protocol::param;

class CliAssign : public CliFixture {
  protected:
    // The address the pedal's installed algorithm gives the parameter.
    std::string Address(std::size_t parameter) {
        const auto slot = static_cast<std::size_t>(protocol::kParameterInfo[parameter].slot);
        return protocol::HexWord16(pedal().state().addressTable[slot]);
    }
};

TEST_F(CliAssign, NamedControlsChangeAndTheOthersKeepWhatThePedalHas) {
    // Control II on Dry HPF and the remote on bypass already; tuning 1 allows a note cut.
    pedal().state().assignmentFlags = {0, 1, 0, 0, 1};
    pedal().state().assignmentFields = {
        0xFFFF, pedal().state().addressTable[protocol::kParameterInfo[param::kDryHpf].slot], 0xFFFF,
        0xFFFF, protocol::kRemoteBypass};
    pedal().state().tuning = 1;
    struct Case {
        QStringList arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"I", "wave clip", "remote", "preset"},
         "04"
         "0101000001" +
             Address(param::kWaveClip) + Address(param::kDryHpf) + "FFFFFFFFFFFD"},
        {{"IV", "High Notes Cut", "ii", "none"},
         "04"
         "0000000101"
         "FFFFFFFFFFFF" +
             Address(param::kHighNotesCut) + "FFFE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        pedal().clearWireLog();
        const auto run = Run(QStringList{"assign"} + c.arguments);
        EXPECT_EQ(run.status, exitstatus::kDone) << run.err.toStdString();
        EXPECT_EQ(wire(), "0200" + c.message);
        // Back to the state the case started from.
        pedal().state().assignmentFlags = {0, 1, 0, 0, 1};
        pedal().state().assignmentFields[1] =
            pedal().state().addressTable[protocol::kParameterInfo[param::kDryHpf].slot];
        pedal().state().assignmentFields[4] = protocol::kRemoteBypass;
    }
}

TEST_F(CliAssign, RefusedAssignmentsSendNoAssignment) {
    struct Case {
        QStringList arguments;
        std::string wire;  // the status request only where the pedal had to be asked
    };
    const Case cases[] = {
        {{"V", "Wave Clip"}, ""},
        {{"I", "High Notes Cut"}, ""},
        {{"remote", "Wave Clip"}, ""},
        {{"I"}, ""},
        {{"III", "Dominant Notes Cut"}, "0200"},  // no tuning selected on the pedal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        pedal().clearWireLog();
        const auto run = Run(QStringList{"assign"} + c.arguments);
        EXPECT_EQ(run.status, exitstatus::kUsage);
        EXPECT_EQ(run.errLines().size(), 1);
        EXPECT_EQ(wire(), c.wire);
    }
    EXPECT_TRUE(Run({"assign", "III", "High Notes Cut"}).err.contains(fxtexts::kNoTuningForAssign));
}

class CliLog : public CliFixture {
  protected:
    // Before each read: `atRead` gets the read's number (0 the first); stops after `reads`.
    void StopAfter(int reads, std::function<void(int)> atRead) {
        stopRequested = [reads, atRead, count = 0]() mutable {
            if (count == reads) return true;
            atRead(count++);
            return false;
        };
    }
    void PedalSends(const std::string& requestHex) {
        const auto bytes = protocol::HexTextToBytes(requestHex).value();
        pedal().hostWrite(bytes.data(), bytes.size());
    }
};

TEST_F(CliLog, ShowsWhatThePedalSendsUnaskedUntilStopped) {
    StopAfter(4, [this](int read) {
        if (read == 0) {
            pedal().injectFault(sim::Fault::Garbage);
            PedalSends(protocol::StatusRequestMessage());
        }
        if (read == 2) PedalSends(protocol::ReadEepromMessage("50"));
    });
    const auto run = Run({"log"});
    EXPECT_EQ(run.status, exitstatus::kDone);
    EXPECT_TRUE(run.err.isEmpty());
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().startsWith("num of bytes read: "));
    EXPECT_TRUE(lines.at(1).startsWith("unasked bytes not understood: "));
    EXPECT_EQ(lines.last(),
              "16383: " + QString::fromStdString(protocol::HexByte(pedal().eeprom(0x50).back())));
}

TEST_F(CliLog, ALostPedalEndsTheLogWithStatusTwo) {
    StopAfter(5, [this](int read) {
        if (read == 1) pedal().unplug();
    });
    const auto run = Run({"log"});
    EXPECT_EQ(run.status, exitstatus::kNoDevice);
    EXPECT_EQ(run.errLines().size(), 1);
}

// The doctor on fake system trees; its words are the connection doctor's own.
class CliDoctor : public CliFixture {
  public:
    fs::path Root() { return folder.path().toStdString(); }
    void Write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    void AddUsbDevice(const std::string& name, const std::string& vendor) {
        const fs::path device = Root() / "sys/bus/usb/devices" / name;
        Write(device / "idVendor", vendor + "\n");
        Write(device / "busnum", "1\n");
        Write(device / "devnum", "5\n");
    }
    void AddReadyBridge() {
        AddUsbDevice("1-1", "0403");
        const fs::path usbInterface = Root() / "sys/bus/usb/devices/1-1/1-1:1.0";
        fs::create_directories(usbInterface / "ttyUSB0/tty/ttyUSB0");
        fs::create_directories(Root() / "sys/bus/usb/drivers/ftdi_sio");
        fs::create_directory_symlink("../../../../../bus/usb/drivers/ftdi_sio",
                                     usbInterface / "driver");
        fs::create_directories(Root() / "sys/bus/usb-serial/drivers/ftdi_sio");
        Write(Root() / "dev/ttyUSB0", "");
        fs::permissions(Root() / "dev/ttyUSB0", fs::perms::owner_read | fs::perms::owner_write);
    }
    std::string Expected() {
        link::DoctorSystem system = link::DoctorSystem::ThisMachine();
        system.root = Root();
        system.askKernelForAccess = false;
        const auto diagnosis = link::DiagnoseConnection(system);
        cause = diagnosis.cause;
        return diagnosis.finding + "\n" + (diagnosis.fix.empty() ? "" : diagnosis.fix + "\n");
    }

    QTemporaryDir folder;
    link::ConnectionCause cause = link::ConnectionCause::CannotTell;
};

TEST_F(CliDoctor, PrintsTheCauseWithItsFixAndExitsTwoUnlessAllIsWell) {
    struct Case {
        const char* name;
        std::function<void(CliDoctor&)> build;
        link::ConnectionCause cause;
        int status;
    };
    const Case cases[] = {
        {"nothing to examine", [](CliDoctor&) {}, link::ConnectionCause::CannotTell,
         exitstatus::kNoDevice},
        {"no bridge", [](CliDoctor& d) { d.AddUsbDevice("usb1", "1d6b"); },
         link::ConnectionCause::NoDevice, exitstatus::kNoDevice},
        {"ready", [](CliDoctor& d) { d.AddReadyBridge(); }, link::ConnectionCause::AllFine,
         exitstatus::kDone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Root());
        fs::create_directories(Root());
        c.build(*this);
        const auto run = Run({"doctor", "--system-root", folder.path()});
        EXPECT_EQ(run.out.toStdString(), Expected());
        EXPECT_EQ(cause, c.cause);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(wire(), "");
    }
}

}  // namespace
