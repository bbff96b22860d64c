// The main window's effect, assignment, footswitch, instrument and tuning commands.
#include <QComboBox>
#include <QFile>
#include <QRadioButton>

#include "EffectsFixture.h"
#include "effects/EffectCommands.h"
#include "effects/ToggleSwitch.h"
#include "protocol/Parameters.h"
#include "tunings/TuningCommands.h"

namespace param = varkunda::protocol::param;

namespace effects_test {
namespace {

using MainCommands = EffectsFixture;

TEST_F(MainCommands, SaveParametersStoresTheNineAssignableValues) {
    SaveParametersToPedal(context, *window);

    const std::string zeros(72, '0');
    EXPECT_EQ(log, (QStringList{"Store settings message (HEX): 03" + QString::fromStdString(zeros),
                                "37"}));
    EXPECT_EQ(dialogs.questions, QStringList{"Save Parameters to pedal?"});
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("03" + zeros)}));
    EXPECT_EQ(driver.events, (std::vector<std::string>{"purge TX", "write 37"}));
    EXPECT_EQ(sleeps, std::vector<int>{100});
}

TEST_F(MainCommands, SaveParametersCarriesWhatTheWindowShows) {
    window->swtNoiseGateStatus->setOn(true);
    window->cmbVariableWavePitch->setCurrentText("+12");
    clearWrites();
    SaveParametersToPedal(context, *window);
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("03" "00000000" "00800000" "00000000" "00000000"
                                                "00000000" "00000000" "00000000" "00000001"
                                                "00000000")}));
}

TEST_F(MainCommands, AnsweringNoSendsNothing) {
    dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No, Dialogs::Answer::No,
                       Dialogs::Answer::No};
    SaveParametersToPedal(context, *window);
    UploadAssignments(context, *window, {});
    ChangeInstrument(context, kLowRange);
    SendTuning(context, *window);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(driver.txPurges, 0);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(dialogs.questions, (QStringList{"Save Parameters to pedal?", "Upload Assignments?",
                                              "Change current Instrument?", "Set new tuning?"}));
}

TEST_F(MainCommands, AssignUploadsTheListsAndPausesWithTheButtonOff) {
    window->cmbAssignCtrlUNO->setCurrentText("Wave Clip");
    window->cmbAssignRemote->setCurrentText("Preset");
    std::vector<bool> button;
    UploadAssignments(context, *window, [&](bool enabled) { button.push_back(enabled); });

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("04010000000100C6FFFFFFFFFFFFFFFD")}));
    EXPECT_EQ(driver.txPurges, 0);
    EXPECT_EQ(button, (std::vector<bool>{false, true}));
    EXPECT_EQ(sleeps, std::vector<int>{100});
    EXPECT_TRUE(logged("lenght of assign message in bytes: 16"));
    EXPECT_EQ(pedal().state().assignmentFlags, (std::array<std::uint8_t, 5>{1, 0, 0, 0, 1}));
    EXPECT_EQ(pedal().state().assignmentFields[0], 0x00C6);
    EXPECT_EQ(pedal().state().assignmentFields[4], 0xFFFD);
}

TEST_F(MainCommands, FootswitchModeIsSentWithoutAQuestion) {
    window->chkChangePresetShortPress->setChecked(true);
    window->chkBypassLongPress->setChecked(true);
    SendFootswitchMode(context, *window);

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("080101")}));
    EXPECT_EQ(log, (QStringList{"footswitch behaviour message: 080101", "080101"}));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(pedal().state().footswitchMode, 3);
}

TEST_F(MainCommands, InstrumentRangeMessages) {
    ChangeInstrument(context, kStandardRange);
    EXPECT_EQ(pedal().state().instrumentRange, kStandardRange);
    ChangeInstrument(context, kLowRange);
    EXPECT_EQ(pedal().state().instrumentRange, kLowRange);
    ChangeInstrument(context, 7);  // no range of the pedal: nothing
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("0FFF0102030405F1"), Hex("0FBA0203040506B3")}));
    EXPECT_EQ(log, (QStringList{"checksum byte: F1", "0FFF0102030405F1", "checksum byte: B3",
                                "0FBA0203040506B3"}));
}

TEST_F(MainCommands, InstrumentFileHoldsTheWordAlone) {
    const QString path = folders.documents() + "/KAVRO/Varkunda TZ5/Instrument.txt";
    ASSERT_TRUE(WriteInstrumentFile(context, kLowRange));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("BASS"));
    file.close();
    ASSERT_TRUE(WriteInstrumentFile(context, kStandardRange));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("GUITAR"));
}

TEST_F(MainCommands, InstrumentFileThatCannotBeWrittenIsReported) {
    QFile blocker(folders.documents());  // a file where the folder should be
    ASSERT_TRUE(QDir().mkpath(folders.root.path()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(WriteInstrumentFile(context, kLowRange));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("Error writing file: "));
}

TEST_F(MainCommands, TuningSendsTheListsChoice) {
    window->cmbGuitarTuning->setCurrentText("Drop D (DADGBE)");
    window->cmbSemitonesVariation->setCurrentText("-2");
    SendTuning(context, *window);

    EXPECT_EQ(log, QStringList{"Tuning Message: 0902FE"});
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("0902FE")}));
    EXPECT_EQ(driver.events, (std::vector<std::string>{"purge TX", "write 3"}));
    EXPECT_EQ(sleeps, std::vector<int>{100});
    EXPECT_EQ(pedal().state().tuning, 2);
    EXPECT_EQ(pedal().state().semitoneVariation, -2);
}

}  // namespace
}  // namespace effects_test
