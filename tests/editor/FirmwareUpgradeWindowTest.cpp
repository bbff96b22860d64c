// Firmware Upgrade > "Upgrade Mode" and the Firmware Upgrade window against the software
// pedal, in process: the bytes the pedal received and what the windows show.
#include <QComboBox>
#include <QProgressBar>
#include <algorithm>

#include "PedalFixture.h"
#include "firmware/TformFirmwareUpgrade.h"
#include "sim/BootloaderFault.h"

namespace pedal_test {
namespace {

using Answer = Dialogs::Answer;
using varkunda::sim::BootloaderCommand;
using varkunda::sim::BootloaderFaultAction;
using varkunda::sim::BootloaderStep;

const QString kShiftQuestion =
    "To enter Firmware Upgrade Mode keep SHIFT button on the pedal pressed while clicking YES.";
const QString kConnected =
    "Connection to bootloader succeeded. Release SHIFT button and go to Upgrade Firmware menu "
    "and click Start Firmware Upgrade.";
const QString kComplete = "Firmware Upgrade Complete, device will now restart";

varkunda::sim::PedalIdentity PedalOn(std::uint8_t firmware) {
    varkunda::sim::PedalIdentity identity;
    identity.firmware = firmware;
    return identity;
}

const Bytes kRecord13 = {0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x0A};

class FirmwareUpgrade : public ::testing::Test {
  protected:
    explicit FirmwareUpgrade(std::uint8_t firmware = 12) : editor({PedalOn(firmware)}) {
        editor.link();
        editor.clearWire();
        dialogs().clear();
    }

    ScriptedDialogs& dialogs() { return editor.editor.dialogs; }
    TformMain& main() { return editor.main(); }
    TformFirmwareUpgrade& window() { return editor.editor.app().formFirmwareUpgrade(); }
    const std::vector<varkunda::sim::WireRecord>& wire() { return editor.pedal().wireLog(); }
    bool sent(const Bytes& bytes) {
        return std::ranges::any_of(wire(), [&](const auto& r) { return r.bytes == bytes; });
    }
    std::size_t indexOf(const Bytes& bytes) {
        const auto& log = wire();
        return static_cast<std::size_t>(
            std::ranges::find_if(log, [&](const auto& r) { return r.bytes == bytes; }) -
            log.begin());
    }

    void enterUpgradeMode() { main().menuFirmwareUpgradeMode->trigger(); }
    void openWindowAndRun() {
        main().menuStartFirmwareUpgrade->trigger();
        window().btnUpgradeFirmware->click();
    }

    PedalEditor editor;
};

TEST_F(FirmwareUpgrade, UpgradeModeOnALinkedPedalSendsBypassEntryThenSyncAtEvenParity) {
    enterUpgradeMode();

    EXPECT_EQ(dialogs().questions, QStringList{kShiftQuestion});
    ASSERT_GE(wire().size(), 3u);
    EXPECT_EQ(wire()[0].bytes, (Bytes{0x0D, 0x01}));
    EXPECT_EQ(wire()[1].bytes, (Bytes{0x05, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}));
    EXPECT_EQ(wire()[1].line.parity, 0);
    EXPECT_EQ(wire()[2].bytes, (Bytes{0x7F}));
    EXPECT_NE(wire()[2].line.parity, 0) << "the bootloader's line has even parity";
    EXPECT_EQ(dialogs().messages, QStringList{kConnected});
    EXPECT_TRUE(main().menuFirmwareUpgradeMode->isChecked());
    EXPECT_TRUE(editor.context().BootloaderMode);
    EXPECT_TRUE(main().menuStartFirmwareUpgrade->isEnabled());
    EXPECT_FALSE(main().btnRequest->isEnabled());
    EXPECT_FALSE(main().btnUpload->isEnabled());
}

TEST_F(FirmwareUpgrade, UntickingOnlyUnticksAndSendsNothing) {
    enterUpgradeMode();
    editor.clearWire();
    dialogs().clear();

    enterUpgradeMode();

    EXPECT_FALSE(main().menuFirmwareUpgradeMode->isChecked());
    EXPECT_FALSE(editor.context().BootloaderMode);
    EXPECT_TRUE(dialogs().shown.isEmpty()) << "no SHIFT question";
    EXPECT_TRUE(wire().empty());
}

TEST_F(FirmwareUpgrade, NoToTheShiftQuestionUnticksAndSendsNoEntryMessage) {
    dialogs().answers = {Answer::No};
    enterUpgradeMode();

    EXPECT_FALSE(main().menuFirmwareUpgradeMode->isChecked());
    EXPECT_FALSE(editor.context().BootloaderMode);
    ASSERT_EQ(wire().size(), 1u);
    EXPECT_EQ(wire()[0].bytes, (Bytes{0x0D, 0x01}));
}

TEST(FirmwareUpgradeUnlinked, UpgradeModeWithoutALinkedPedalSendsNothingAndArmsTheLink) {
    PedalEditor editor;
    editor.clearWire();
    editor.main().menuFirmwareUpgradeMode->trigger();

    EXPECT_TRUE(editor.main().menuFirmwareUpgradeMode->isChecked());
    EXPECT_TRUE(editor.context().SkipStatusAfterLink);
    EXPECT_TRUE(editor.editor.dialogs.questions.isEmpty());
    EXPECT_TRUE(editor.wire().empty());
}

TEST_F(FirmwareUpgrade, OpeningTheWindowSelectsFirmware13AndLogsIt) {
    enterUpgradeMode();
    editor.markConsole();
    main().menuStartFirmwareUpgrade->trigger();

    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().windowTitle(), "Firmware Upgrade");
    EXPECT_EQ(window().size(), QSize(196, 140));
    EXPECT_EQ(window().btnUpgradeFirmware->geometry(), QRect(8, 48, 179, 33));
    EXPECT_EQ(window().cmbFirmwareChoose->currentText(), "Firmware_13");
    EXPECT_EQ(window().SelectedFirmwareNumber, 13);
    const QStringList console = editor.consoleSinceMark();
    const auto at = console.indexOf("Firmware Version(DEC): 13");
    ASSERT_GE(at, 0);
    EXPECT_EQ(console.value(at + 1), "Firmware_13");
    EXPECT_FALSE(main().Timer_USB_Read->isActive());

    window().close();
    EXPECT_TRUE(main().Timer_USB_Read->isActive());
    EXPECT_TRUE(main().menuStartFirmwareUpgrade->isEnabled())
        << "the pedal stays in its bootloader";
}

// The two ways into the bootloader: "Upgrade Mode" on a linked pedal, which asks it in
// with the enter-bootloader message, and the legacy way: ticked with no pedal linked,
// the pedal plugged in with SHIFT held, then Link connects to its bootloader.
struct UpgradeWay {
    const char* name;
    bool legacy;
    std::vector<Bytes> before;  // what the pedal receives before the erase
    QStringList messages;       // shown on the way in
};

class CompleteRun : public FirmwareUpgrade, public ::testing::WithParamInterface<UpgradeWay> {
  protected:
    // A bootloader reads any byte as part of a command: nothing meant for the firmware
    // may reach it.
    void ExpectOnlyTheUpgradeTalksToThePedal() {
        for (QAction* item :
             {main().menuLoadPreset, main().menuSavePreset, main().menuLoadAlgorithmFromFile,
              main().menuUploadTuningsData, main().menuEraseSettings, main().menuMIDI->menuAction(),
              main().menuInstrumentRange->menuAction(), main().menuBypassStatus->menuAction()})
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
        for (QPushButton* button : main().findChildren<QPushButton*>())
            EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
        EXPECT_FALSE(main().lstEffects->isEnabled());
        for (QWidget* control : editor.effects().findChildren<QWidget*>())
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        EXPECT_FALSE(editor.editor.console().btnReadEEPROM->isEnabled());
    }

    void enterTheBootloader() {
        if (!GetParam().legacy) {
            enterUpgradeMode();
            return;
        }
        main().menuDisconnect->trigger();
        editor.pedal().replug(true);
        enterUpgradeMode();
        editor.link();
    }
};

TEST_P(CompleteRun, WritesEveryChunkTheRecordAndGoThenShowsTheNewFirmware) {
    const UpgradeWay& way = GetParam();
    ASSERT_EQ(main().lblFirmwareVersion->text(), "Device Firmware: 12");
    enterTheBootloader();
    EXPECT_EQ(dialogs().messages, way.messages);
    EXPECT_EQ(editor.pedal().latencyTimer(), std::chrono::milliseconds(2))
        << "the editor's latency timer on the bridge it opened";
    EXPECT_TRUE(main().menuStartFirmwareUpgrade->isEnabled());
    EXPECT_FALSE(main().btnRequest->isEnabled()) << "nothing for the firmware to the bootloader";
    EXPECT_FALSE(main().btnUpload->isEnabled());
    ExpectOnlyTheUpgradeTalksToThePedal();
    dialogs().clear();
    int highestProgress = 0;
    int progressDuringReadBack = 0;
    QObject::connect(window().ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
        highestProgress = std::max(highestProgress, value);
        if (sent({0x11, 0xEE})) progressDuringReadBack = std::max(progressDuringReadBack, value);
    });
    std::vector<bool> enabledWhileRunning;
    main().menuStartFirmwareUpgrade->trigger();
    editor.editor.linkEnvironment.onSleep = [&](std::chrono::milliseconds) {
        if (!window().upgradeRunning()) return;  // the status request after it
        for (bool on :
             {main().btnRequest->isEnabled(), main().btnSaveParameters->isEnabled(),
              main().menuStartFirmwareUpgrade->isEnabled(),
              window().btnUpgradeFirmware->isEnabled(), window().cmbFirmwareChoose->isEnabled()})
            enabledWhileRunning.push_back(on);
    };
    window().btnUpgradeFirmware->click();
    editor.editor.linkEnvironment.onSleep = {};

    EXPECT_EQ(dialogs().messages, QStringList{kComplete});
    EXPECT_EQ(highestProgress, 2 * 208) << "the write, then the read-back";
    EXPECT_EQ(progressDuringReadBack, 2 * 208);
    ASSERT_FALSE(enabledWhileRunning.empty());
    EXPECT_TRUE(std::ranges::none_of(enabledWhileRunning, std::identity{}))
        << "nothing that talks to the pedal while the run waits";
    ASSERT_GT(wire().size(), way.before.size());
    for (std::size_t i = 0; i < way.before.size(); ++i)
        EXPECT_EQ(wire()[i].bytes, way.before[i]) << "message " << i;
    EXPECT_NE(wire()[way.before.size() - 1].line.parity, 0) << "the sync at even parity";
    EXPECT_EQ(wire()[way.before.size()].bytes, (Bytes{0x43, 0xBC})) << "then the erase";
    const std::size_t recordAddress = indexOf({0x08, 0x01, 0xFC, 0x00, 0xF5});
    const std::size_t recordAt = indexOf(kRecord13);
    const std::size_t goAt = indexOf({0x21, 0xDE});
    const std::size_t statusAt = indexOf({0x02, 0x00});
    ASSERT_LT(statusAt, wire().size());
    EXPECT_LT(recordAddress, recordAt);
    EXPECT_LT(recordAt, goAt);
    EXPECT_EQ(wire()[goAt + 1].bytes, (Bytes{0x08, 0x00, 0x00, 0x00, 0x08}));
    EXPECT_LT(goAt, statusAt);
    EXPECT_EQ(wire()[statusAt].line.parity, 0) << "the status request at no parity";
    EXPECT_NE(wire()[goAt].line.parity, 0);

    const auto lastData = std::ranges::find_if(
        wire(), [](const auto& r) { return r.bytes.size() == 0xA0 + 2 && r.bytes[0] == 0x9F; });
    EXPECT_NE(lastData, wire().end()) << "the last chunk of 160 bytes, N = 0x9F";
    std::size_t dataFrames = 0;
    for (const auto& record : wire())
        if (record.bytes.size() == 258 && record.bytes[0] == 0xFF) ++dataFrames;
    EXPECT_EQ(dataFrames, 207u);

    EXPECT_EQ(main().lblFirmwareVersion->text(), "Device Firmware: 13");
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().ProgressBar1->value(), 0);
    EXPECT_FALSE(main().menuFirmwareUpgradeMode->isChecked());
    EXPECT_FALSE(editor.context().BootloaderMode);
    EXPECT_FALSE(main().menuStartFirmwareUpgrade->isEnabled());
    EXPECT_TRUE(main().btnRequest->isEnabled());
    EXPECT_TRUE(main().btnUpload->isEnabled());
    EXPECT_TRUE(main().Timer_USB_Read->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CompleteRun,
    ::testing::Values(
        UpgradeWay{"UpgradeModeOnALinkedPedal",
                   false,
                   {{0x0D, 0x01}, {0x05, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}, {0x7F}},
                   {kConnected}},
        UpgradeWay{"TickedBeforeLink",
                   true,
                   {{0x7F}},
                   {"Connection to bootloader succeeded, ready for firmware upgrade"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RunFault {
    BootloaderFaultAction action;
    BootloaderStep step;
    BootloaderCommand command;
    std::size_t occurrence;
    const char* named;           // what the one message names
    bool recordWritten = false;  // a fault at Go comes after the record
};

class FailedRun : public FirmwareUpgrade, public ::testing::WithParamInterface<RunFault> {};

TEST_P(FailedRun, StopsWithOneMessageNoRecordNoGoAndASecondRunSucceeds) {
    const RunFault& c = GetParam();
    enterUpgradeMode();
    dialogs().clear();
    editor.clearWire();
    editor.pedal().injectBootloaderFault({c.action, c.step, c.command, c.occurrence});
    openWindowAndRun();

    ASSERT_EQ(dialogs().messages.size(), 1);
    const QString message = dialogs().messages.front();
    EXPECT_TRUE(message.contains(c.named)) << message.toStdString();
    EXPECT_FALSE(message.contains(kComplete));
    EXPECT_EQ(sent(kRecord13), c.recordWritten);
    EXPECT_EQ(sent({0x21, 0xDE}), c.recordWritten);
    EXPECT_FALSE(sent({0x02, 0x00}));
    EXPECT_TRUE(window().btnUpgradeFirmware->isEnabled());
    EXPECT_TRUE(main().menuFirmwareUpgradeMode->isChecked());
    EXPECT_EQ(main().lblFirmwareVersion->text(), "Device Firmware: 12");

    dialogs().clear();
    editor.clearWire();
    window().btnUpgradeFirmware->click();
    ASSERT_FALSE(wire().empty());
    EXPECT_EQ(wire()[0].bytes, (Bytes{0x43, 0xBC})) << "the second run starts from the erase";
    EXPECT_EQ(dialogs().messages, QStringList{kComplete});
    EXPECT_EQ(main().lblFirmwareVersion->text(), "Device Firmware: 13");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedRun,
    ::testing::Values(
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Data, BootloaderCommand::WriteMemory,
                 17, "The written data of chunk 17 was not acknowledged"},
        RunFault{BootloaderFaultAction::Silence, BootloaderStep::Address,
                 BootloaderCommand::WriteMemory, 5, "The write address of chunk 5 got no answer"},
        RunFault{BootloaderFaultAction::WrongData, BootloaderStep::Data,
                 BootloaderCommand::WriteMemory, 40, "read-back data of chunk 40 differs"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Data, BootloaderCommand::Erase, 0,
                 "The erase of the flash was not acknowledged"},
        // A NACK at every other step of the run.
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Command, BootloaderCommand::Erase, 0,
                 "The erase command was not acknowledged"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Command,
                 BootloaderCommand::WriteMemory, 3, "The write command of chunk 3 was not"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Address,
                 BootloaderCommand::WriteMemory, 3, "The write address of chunk 3 was not"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Command,
                 BootloaderCommand::ReadMemory, 2, "The read-back command of chunk 2 was not"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Address,
                 BootloaderCommand::ReadMemory, 2, "The read-back address of chunk 2 was not"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Data, BootloaderCommand::ReadMemory,
                 2, "The read-back length of chunk 2 was not"},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Command, BootloaderCommand::Go, 0,
                 "The start command was not acknowledged", true},
        RunFault{BootloaderFaultAction::Nack, BootloaderStep::Address, BootloaderCommand::Go, 0,
                 "The start address was not acknowledged", true}));

}  // namespace
}  // namespace pedal_test
