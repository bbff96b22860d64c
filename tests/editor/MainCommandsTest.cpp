// The main window's effect, assignment, footswitch, instrument range and tuning
// commands, as the pedal receives them.
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "EffectsFixture.h"
#include "effects/ToggleSwitch.h"
#include "protocol/Parameters.h"

namespace param = varkunda::protocol::param;
using Answer = Dialogs::Answer;

namespace effects_test {
namespace {

using MainCommands = EffectsFixture;

TEST_F(MainCommands, SaveParametersStoresTheNineAssignableValues) {
    harness.main().btnSaveParametersClick();

    const QString zeros(72, '0');
    EXPECT_EQ(log, (QStringList{"Store settings message (HEX): 03" + zeros, "37"}));
    EXPECT_EQ(dialogs.questions, QStringList{"Save Parameters to pedal?"});
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("03" + zeros.toStdString())}));
    EXPECT_EQ(driver.events, (std::vector<std::string>{"purge TX", "write 37"}));
    EXPECT_EQ(sleeps, QList<int>{100});
}

TEST_F(MainCommands, SaveParametersCarriesWhatTheWindowShows) {
    window->swtNoiseGateStatus->setOn(true);
    window->cmbVariableWavePitch->setCurrentText("+12");
    clearWrites();
    harness.main().btnSaveParametersClick();
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("03"
                                                "00000000"
                                                "00800000"
                                                "00000000"
                                                "00000000"
                                                "00000000"
                                                "00000000"
                                                "00000000"
                                                "00000001"
                                                "00000000")}));
}

TEST_F(MainCommands, AnsweringNoSendsNothing) {
    dialogs.answer({Answer::No, Answer::No, Answer::No, Answer::No});
    auto& main = harness.main();
    main.btnSaveParametersClick();
    main.btnAssignClick();
    main.menuLowClick();
    main.btnSetTuningClick();

    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(driver.txPurges, 0);
    EXPECT_TRUE(sleeps.isEmpty());
    EXPECT_EQ(dialogs.questions, (QStringList{"Save Parameters to pedal?", "Upload Assignments?",
                                              "Change current Instrument?", "Set new tuning?"}));
    // The range choice is kept even though it was not sent.
    EXPECT_TRUE(main.menuLow->isChecked());
    EXPECT_EQ(EditorHarness::readFile(harness.productFile("Instrument.txt")), QByteArray("BASS"));
}

TEST_F(MainCommands, AssignUploadsTheListsAndPausesWithTheButtonOff) {
    window->cmbAssignCtrlUNO->setCurrentText("Wave Clip");
    window->cmbAssignRemote->setCurrentText("Preset");
    auto& main = harness.main();
    main.btnAssign->setEnabled(true);
    std::vector<bool> buttonDuringPause;
    harness.linkEnvironment.onSleep = [&](std::chrono::milliseconds pause) {
        sleeps.append(static_cast<int>(pause.count()));
        buttonDuringPause.push_back(main.btnAssign->isEnabled());
    };
    main.btnAssignClick();

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("04010000000100C6FFFFFFFFFFFFFFFD")}));
    EXPECT_EQ(driver.txPurges, 0);
    EXPECT_EQ(sleeps, QList<int>{100});
    EXPECT_EQ(buttonDuringPause, std::vector<bool>{false});
    EXPECT_TRUE(main.btnAssign->isEnabled());
    EXPECT_TRUE(logged("lenght of assign message in bytes: 16"));
    EXPECT_EQ(pedal().state().assignmentFlags, (std::array<std::uint8_t, 5>{1, 0, 0, 0, 1}));
    EXPECT_EQ(pedal().state().assignmentFields[0], 0x00C6);
    EXPECT_EQ(pedal().state().assignmentFields[4], 0xFFFD);
}

TEST_F(MainCommands, FootswitchModeIsSentWithoutAQuestion) {
    window->chkChangePresetShortPress->setChecked(true);
    window->chkBypassLongPress->setChecked(true);
    harness.main().btnSetFootswitchModeClick();

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("080101")}));
    EXPECT_EQ(log, (QStringList{"footswitch behaviour message: 080101", "080101"}));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(pedal().state().footswitchMode, 3);
}

TEST_F(MainCommands, InstrumentRangeMenuSendsRemembersAndTicks) {
    auto& main = harness.main();
    main.menuStandardClick();
    EXPECT_EQ(pedal().state().instrumentRange, 255);
    EXPECT_TRUE(main.menuStandard->isChecked());
    EXPECT_EQ(EditorHarness::readFile(harness.productFile("Instrument.txt")), QByteArray("GUITAR"));

    main.menuLowClick();
    EXPECT_EQ(pedal().state().instrumentRange, 186);
    EXPECT_TRUE(main.menuLow->isChecked());
    EXPECT_FALSE(main.menuStandard->isChecked());
    EXPECT_EQ(EditorHarness::readFile(harness.productFile("Instrument.txt")), QByteArray("BASS"));

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("0FFF0102030405F1"), Hex("0FBA0203040506B3")}));
    EXPECT_EQ(log, (QStringList{"checksum byte: F1", "0FFF0102030405F1", "checksum byte: B3",
                                "0FBA0203040506B3"}));
    EXPECT_EQ(dialogs.questions.count("Change current Instrument?"), 2);
    EXPECT_EQ(harness.context().InstrumentRange, 186);
}

TEST_F(MainCommands, InstrumentFileThatCannotBeWrittenIsReportedAndTheRangeStillSent) {
    // A file where the product folder should be.
    QDir(folders.documents()).mkpath("KAVRO");
    EditorHarness::writeFile(folders.documents() + "/KAVRO/Varkunda TZ5/Instrument.txt", "BASS");
    QDir(folders.documents() + "/KAVRO/Varkunda TZ5").removeRecursively();
    EditorHarness::writeFile(folders.documents() + "/KAVRO/Varkunda TZ5", "not a folder");

    harness.main().menuStandardClick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("Instrument.txt"))
        << dialogs.messages[0].toStdString();
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("0FFF0102030405F1")}));
}

TEST_F(MainCommands, StatusReplyRangeSetsTheTicks) {
    auto& main = harness.main();
    varkunda::protocol::StatusReply reply;
    for (auto [range, standard, low] :
         {std::tuple{186, false, true}, std::tuple{7, false, true}, std::tuple{255, true, false}}) {
        reply.instrumentRange = static_cast<std::uint8_t>(range);
        main.ShowInstrumentRange(reply);
        EXPECT_EQ(harness.context().InstrumentRange, range);
        EXPECT_EQ(main.menuStandard->isChecked(), standard) << range;
        EXPECT_EQ(main.menuLow->isChecked(), low) << range;
    }
}

TEST_F(MainCommands, TuningSendsTheListsChoice) {
    window->cmbGuitarTuning->setCurrentText("Drop D (DADGBE)");
    window->cmbSemitonesVariation->setCurrentText("-2");
    harness.main().btnSetTuningClick();

    EXPECT_EQ(log, QStringList{"Tuning Message: 0902FE"});
    EXPECT_EQ(dialogs.questions, QStringList{"Set new tuning?"});
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("0902FE")}));
    EXPECT_EQ(driver.events, (std::vector<std::string>{"purge TX", "write 3"}));
    EXPECT_EQ(sleeps, QList<int>{100});
    EXPECT_EQ(pedal().state().tuning, 2);
    EXPECT_EQ(pedal().state().semitoneVariation, -2);
}

}  // namespace
}  // namespace effects_test
