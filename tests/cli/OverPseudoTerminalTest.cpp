// The tool as a program, on the serial backend, against varkunda-pedal-sim's terminal.
#if defined(VARKUNDA_PEDAL_SIM_PROGRAM) && defined(VARKUNDA_CLI_PROGRAM)

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../support/PedalSimProcess.h"
#include "cli/CliRun.h"
#include "protocol/PresetFile.h"

namespace {

namespace exitstatus = varkunda::cli::exitstatus;

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

class CliOverPseudoTerminal : public ::testing::Test {
  protected:
    explicit CliOverPseudoTerminal(std::vector<std::string> simArguments = {"--no-pacing"})
        : pedal(std::move(simArguments)), terminal(pedal.firstLine()) {}

    ProgramRun Run(const QStringList& arguments) {
        QProcess program;
        program.start(
            QStringLiteral(VARKUNDA_CLI_PROGRAM),
            QStringList{"--device", "serial:" + QString::fromStdString(terminal)} + arguments);
        ProgramRun run;
        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished();
            return run;
        }
        run.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.out = QString::fromUtf8(program.readAllStandardOutput());
        run.err = QString::fromUtf8(program.readAllStandardError());
        return run;
    }

    varkunda::simtool::PedalSimProcess pedal;
    std::string terminal;
};

TEST_F(CliOverPseudoTerminal, StatusSetAndPresetRoundTrip) {
    ASSERT_EQ(terminal.rfind("/dev/pts/", 0), 0u) << terminal;
    const auto status = Run({"status"});
    EXPECT_EQ(status.status, exitstatus::kDone) << status.err.toStdString();
    EXPECT_TRUE(status.out.contains("Firmware: 13\n"));
    EXPECT_TRUE(status.out.contains("Algorithm: 0014\n"));

    QTemporaryDir folder;
    const QString preset = folder.filePath("before.txt");
    ASSERT_EQ(Run({"preset", "save", preset}).status, exitstatus::kDone);
    const auto set = Run({"set", "Dry", "raw:0x00123456"});
    EXPECT_EQ(set.status, exitstatus::kDone) << set.err.toStdString();
    EXPECT_TRUE(set.err.isEmpty());
    EXPECT_TRUE(Run({"get", "Dry"}).out.startsWith("0x00123456\t"));

    ASSERT_EQ(Run({"preset", "load", preset}).status, exitstatus::kDone);
    QFile saved(preset);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const auto values = varkunda::protocol::ParsePresetFile(saved.readAll().toStdString());
    ASSERT_TRUE(values.ok());
    EXPECT_TRUE(
        Run({"get", "Dry"}).out.startsWith("0x" + QString::fromStdString(values.values[0].text)));
}

TEST_F(CliOverPseudoTerminal, UploadIsAnswered) {
    const auto upload = Run({"upload"});
    EXPECT_EQ(upload.status, exitstatus::kDone) << upload.err.toStdString();
    EXPECT_FALSE(upload.out.trimmed().isEmpty());
}

TEST_F(CliOverPseudoTerminal, ABadSetSendsNothingAndTheValueStays) {
    const auto before = Run({"get", "Dry"});
    const auto refused = Run({"set", "Dry", "-90"});
    EXPECT_EQ(refused.status, exitstatus::kUsage);
    EXPECT_EQ(refused.err.count('\n'), 1);
    EXPECT_EQ(Run({"get", "Dry"}).out, before.out);
}

// A pseudo-terminal carries no parity: the bootloader is spoken to at 8N1 (--no-parity), as
// stm32flash is run with -m 8n1.
TEST_F(CliOverPseudoTerminal, UpgradeEntersTheBootloaderAndThePedalRunsTheNewFirmware) {
    const auto upgrade = Run({"upgrade", "12", "--yes", "--no-parity"});
    EXPECT_EQ(upgrade.status, exitstatus::kDone) << upgrade.err.toStdString();
    EXPECT_TRUE(upgrade.out.endsWith("Firmware: 12\n")) << upgrade.out.toStdString();
    EXPECT_TRUE(Run({"status"}).out.contains("Firmware: 12\n"));
}

TEST_F(CliOverPseudoTerminal, LogRunsUntilSigtermAndThenEndsWithStatusZero) {
    QProcess program;
    program.start(QStringLiteral(VARKUNDA_CLI_PROGRAM),
                  {"--device", "serial:" + QString::fromStdString(terminal), "log"});
    ASSERT_TRUE(program.waitForStarted());
    // Time to open the port; a log still running then is ended by the signal.
    EXPECT_FALSE(program.waitForFinished(1000));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), exitstatus::kDone)
        << program.readAllStandardError().toStdString();
}

class CliOverPseudoTerminalInBootloader : public CliOverPseudoTerminal {
  protected:
    CliOverPseudoTerminalInBootloader() : CliOverPseudoTerminal({"--no-pacing", "--bootloader"}) {}
};

TEST_F(CliOverPseudoTerminalInBootloader, UpgradeUsesTheRunningBootloader) {
    const auto upgrade = Run({"upgrade", "13", "--yes", "--no-parity"});
    EXPECT_EQ(upgrade.status, exitstatus::kDone) << upgrade.err.toStdString();
    EXPECT_TRUE(upgrade.out.endsWith("Firmware: 13\n")) << upgrade.out.toStdString();
}

}  // namespace

#endif
