#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "CliFixture.h"
#include "protocol/StatusReply.h"
#include "tools/TestImages.h"

namespace {

using namespace varkunda;
namespace exitstatus = cli::exitstatus;

constexpr std::uint32_t kFlashStart = 0x08000000;
constexpr std::size_t kLargestImage = 131072;

class CliUpgrade : public CliFixture {
  protected:
    // Each write of the host as hex text, " even" when it went out at even parity.
    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const sim::WireRecord& record : pedal().wireLog())
            writes.push_back(protocol::BytesToHexText(record.bytes) +
                             (record.line.parity == 2 ? " even" : ""));
        return writes;
    }
    bool Wrote(const std::string& write) {
        const auto writes = Writes();
        return std::find(writes.begin(), writes.end(), write) != writes.end();
    }
    static std::vector<std::string> Slice(const std::vector<std::string>& all, std::size_t from,
                                          std::size_t count) {
        if (from + count > all.size()) return all;
        return {all.begin() + static_cast<std::ptrdiff_t>(from),
                all.begin() + static_cast<std::ptrdiff_t>(from + count)};
    }
    static std::vector<std::string> Tail(const std::vector<std::string>& all, std::size_t count) {
        return Slice(all, all.size() < count ? 0 : all.size() - count, count);
    }
    QString WriteFile(const QString& name, const std::vector<std::uint8_t>& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }
    // A bootloader that was synced before, as one left behind by a failed run.
    void LeaveSyncedBootloader() {
        pedal().replug(true);
        pedal().setLineSettings({.parity = 2});
        const std::uint8_t sync = 0x7F;
        pedal().hostWrite(&sync, 1);
        std::uint8_t answer = 0;
        ASSERT_EQ(pedal().hostRead(&answer, 1), 1u);
        ASSERT_EQ(answer, 0x79);
        pedal().clearWireLog();
    }

    QTemporaryDir folder;
};

// The record: seven 0x00 and the number at 0x0801FC00; Go at the start of flash; then
// the status request at no parity again.
std::vector<std::string> EndOfRun(const std::string& numberAndChecksum) {
    return {"31CE even", "0801FC00F5 even", "0700000000000000" + numberAndChecksum + " even",
            "21DE even", "0800000008 even", "0200"};
}

TEST_F(CliUpgrade, APedalOnFirmwareThirteenIsSentIntoItsBootloaderAndUpgraded) {
    const auto run = Run({"upgrade", "12", "--yes"});
    EXPECT_EQ(run.status, exitstatus::kDone) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("Firmware: 12\n")) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty());

    const auto writes = Writes();
    EXPECT_EQ(Slice(writes, 0, 8),
              (std::vector<std::string>{"0200", "0D01", "0500010203040506", "7F even", "43BC even",
                                        "FF00 even", "31CE even", "0800000008 even"}));
    EXPECT_EQ(Tail(writes, 6), EndOfRun("0C0B"));
    EXPECT_TRUE(Wrote("11EE even"));  // read back
    const auto& image = images::FirmwareTestImage(12);
    EXPECT_EQ(pedal().readFlash(kFlashStart, image.size()), image);
}

TEST_F(CliUpgrade, ABootloaderAlreadyRunningIsUsedAfterTheUnansweredStatusRequest) {
    struct Case {
        const char* name;
        bool synced;
        std::vector<std::string> start;
    };
    const Case cases[] = {
        {"fresh", false, {"0200", "7F even", "43BC even"}},
        // A synced bootloader holds the first sync byte as half a command: the second
        // completes it and is refused.
        {"synced", true, {"0200", "7F even", "7F even", "43BC even"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.synced) {
            LeaveSyncedBootloader();
        } else {
            pedal().replug(true);
            pedal().clearWireLog();
        }
        const auto run = Run({"upgrade", "--yes", "--no-verify"});
        EXPECT_EQ(run.status, exitstatus::kDone) << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith("Firmware: 13\n"));
        const auto writes = Writes();
        EXPECT_EQ(Slice(writes, 0, c.start.size()), c.start);
        EXPECT_EQ(Tail(writes, 6), EndOfRun("0D0A"));
        EXPECT_FALSE(Wrote("11EE even"));  // --no-verify
    }
}

TEST_F(CliUpgrade, AFileIsWrittenWithTheNumberGiven) {
    const auto& image = images::FirmwareTestImage(12);
    const auto run = Run({"upgrade", WriteFile("fw.bin", image), "--number", "11", "--yes"});
    EXPECT_EQ(run.status, exitstatus::kDone) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("Firmware: 11\n"));
    EXPECT_EQ(Tail(Writes(), 6), EndOfRun("0B0C"));
    EXPECT_EQ(pedal().readFlash(kFlashStart, image.size()), image);
}

TEST_F(CliUpgrade, BadRequestsAndFilesSendNothing) {
    const auto& image = images::FirmwareTestImage(12);
    const QString good = WriteFile("good.bin", image);
    const QString empty = WriteFile("empty.bin", {});
    const QString large = WriteFile("large.bin", std::vector<std::uint8_t>(kLargestImage + 1));
    struct Case {
        QStringList arguments;
        int status;
    };
    const Case cases[] = {
        {{"12"}, exitstatus::kUsage},  // no --yes
        {{good}, exitstatus::kUsage},  // checked, but not confirmed
        {{good, "--yes"}, exitstatus::kUsage},
        {{good, "--number", "4", "--yes"}, exitstatus::kUsage},
        {{good, "--number", "14", "--yes"}, exitstatus::kUsage},
        {{"13", "--number", "13", "--yes"}, exitstatus::kUsage},
        {{"12", "13", "--yes"}, exitstatus::kUsage},
        {{empty, "--number", "12", "--yes"}, exitstatus::kBadInputFile},
        {{large, "--number", "12", "--yes"}, exitstatus::kBadInputFile},
        {{folder.filePath("none.bin"), "--number", "12", "--yes"}, exitstatus::kBadInputFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const auto run = Run(QStringList{"upgrade"} + c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.errLines().size(), 1);
        EXPECT_EQ(wire(), "");
    }
}

TEST_F(CliUpgrade, APedalThatCannotEnterOrAnswersNothingIsLeftAlone) {
    sim::PedalIdentity old = pedal().identity();
    old.firmware = 8;
    pedal().setIdentity(old);
    pedal().replug();
    pedal().clearWireLog();
    auto run = Run({"upgrade", "--yes"});
    EXPECT_EQ(run.status, exitstatus::kNoAnswer);
    EXPECT_EQ(run.errLines().size(), 1);
    EXPECT_TRUE(run.err.contains("firmware 8")) << run.err.toStdString();
    EXPECT_EQ(Writes(), std::vector<std::string>{"0200"});

    pedal().clearWireLog();
    pedal().injectFault(sim::Fault::Silence);
    run = Run({"upgrade", "--yes"});
    EXPECT_EQ(run.status, exitstatus::kNoAnswer);
    EXPECT_EQ(run.errLines().size(), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"0200", "7F even", "7F even"}));
}

TEST_F(CliUpgrade, AnotherFirmwareNumberAfterTheStartIsNoSuccess) {
    pedal().overrideStatusNumbers({{protocol::kStatusFirmwareIndex, 9}});
    const auto run = Run({"upgrade", "--yes", "--no-verify"});
    EXPECT_EQ(run.status, exitstatus::kNoAnswer);
    EXPECT_TRUE(run.out.endsWith("Firmware: 9\n"));
    EXPECT_EQ(run.errLines(),
              QStringList{"varkunda-cli: The pedal reports firmware 9 after the upgrade, not 13."});
}

// Nothing is said complete unless the bootloader took Go.
TEST_F(CliUpgrade, AFailureNamesStepAndChunkAndStopsBeforeTheStart) {
    using sim::BootloaderCommand;
    using sim::BootloaderFaultAction;
    using sim::BootloaderStep;
    struct Case {
        const char* name;
        sim::BootloaderFault fault;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {"refused write",
         {BootloaderFaultAction::Nack, BootloaderStep::Data, BootloaderCommand::WriteMemory, 5},
         exitstatus::kNoAnswer,
         "The written data of chunk 5 was not acknowledged."},
        {"silent erase",
         {BootloaderFaultAction::Silence, BootloaderStep::Data, BootloaderCommand::Erase, 0},
         exitstatus::kNoAnswer,
         "The erase of the flash got no answer in time."},
        {"read back differs",
         {BootloaderFaultAction::WrongData, BootloaderStep::Data, BootloaderCommand::ReadMemory, 7},
         exitstatus::kNoAnswer,
         "The read-back data of chunk 7 differs from the image at byte 0."},
        {"unplugged",
         {BootloaderFaultAction::Unplug, BootloaderStep::Data, BootloaderCommand::WriteMemory, 3},
         exitstatus::kNoDevice,
         ""},
        {"refused start",
         {BootloaderFaultAction::Nack, BootloaderStep::Command, BootloaderCommand::Go, 0},
         exitstatus::kNoAnswer,
         "The start command was not acknowledged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pedal().replug(true);
        pedal().clearWireLog();
        pedal().injectBootloaderFault(c.fault);
        const auto run = Run({"upgrade", "--yes"});
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.errLines().size(), 1);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.words))) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains("Complete")) << run.out.toStdString();
        if (c.fault.command != BootloaderCommand::Go) {
            EXPECT_FALSE(Wrote("21DE even"));
        }
        pedal().injectFault(sim::Fault::None);
    }
}

TEST_F(CliUpgrade, ATerminalSeesOneUpdatingProgressLine) {
    errIsTerminal = true;
    const auto run = Run({"upgrade", "--yes"});
    EXPECT_EQ(run.status, exitstatus::kDone);
    EXPECT_TRUE(run.err.startsWith("\rWriting: chunk 0 of 208"));
    EXPECT_TRUE(run.err.contains("\rWriting: chunk 208 of 208"));
    EXPECT_TRUE(run.err.contains("\rReading back: chunk 208 of 208"));
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_TRUE(run.err.endsWith('\n'));
}

}  // namespace
