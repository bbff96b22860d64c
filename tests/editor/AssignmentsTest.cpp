// Control assignments and the footswitch mode: the messages built from the window and
// the window set from the pedal's status reply.
#include <QComboBox>
#include <QRadioButton>

#include "EffectsFixture.h"
#include "protocol/Parameters.h"
#include "protocol/StatusReply.h"

namespace param = varkunda::protocol::param;
using varkunda::protocol::StatusReply;

namespace effects_test {
namespace {

using Assignments = EffectsFixture;

TEST_F(Assignments, NothingAssignedGivesOnlyNotAssignedFields) {
    EXPECT_EQ(window->BuildAssignMessage(),
              "0400000000"
              "00FFFFFFFFFFFFFFFFFFFF");
    EXPECT_EQ(log, (QStringList{"lenght of assign message in bytes: 16",
                                "assign message: 0400000000"
                                "00FFFFFFFFFFFFFFFFFFFF"}));
}

TEST_F(Assignments, WaveClipOnControlOneAndRemotePreset) {
    window->cmbAssignCtrlUNO->setCurrentText("Wave Clip");
    window->cmbAssignRemote->setCurrentText("Preset");
    EXPECT_EQ(window->AssignmentFlags, (std::array<std::uint8_t, 5>{1, 0, 0, 0, 1}));
    EXPECT_EQ(window->BuildAssignMessage(), "04010000000100C6FFFFFFFFFFFFFFFD");
}

TEST_F(Assignments, EveryListGivesItsParametersAddress) {
    window->cmbAssignCtrlUNO->setCurrentText("Noise Gate Threshold");
    window->cmbAssignCtrlDUE->setCurrentText("Input Level");
    window->cmbGuitarTuning->setCurrentIndex(1);
    window->cmbAssignCtrlTRE->setCurrentText("High Notes Cut");
    window->cmbAssignCtrlQUATTRO->setCurrentText("Limit Range UP");
    window->cmbAssignRemote->setCurrentText("Bypass");
    EXPECT_EQ(window->BuildAssignMessage(), "0401010101010003000B000EFF00FFFE");
}

TEST_F(Assignments, NoteCutOnAControlNeedsATuning) {
    window->cmbAssignCtrlTRE->setCurrentText("Dominant Notes Cut");
    EXPECT_EQ(dialogs.messages,
              QStringList{"No tuning selected, Select a tuning before assigning this parameter"});
    EXPECT_EQ(window->cmbAssignCtrlTRE->currentIndex(), 0);
    EXPECT_EQ(window->AssignmentFlags[2], 0);

    window->cmbAssignCtrlQUATTRO->setCurrentText("Noise Gate Status");
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(window->AssignmentFlags[3], 1);

    context.LoadingFromPedal = true;  // the pedal's own choice is shown as it is
    window->cmbAssignCtrlTRE->setCurrentText("High Notes Cut");
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(window->AssignmentFlags[2], 1);
}

TEST_F(Assignments, FootswitchMessageFollowsTheRadioPairs) {
    EXPECT_EQ(window->BuildFootswitchMessage(), "080000");
    window->chkChangePresetShortPress->setChecked(true);
    window->chkBypassLongPress->setChecked(true);
    EXPECT_EQ(window->BuildFootswitchMessage(), "080101");
    EXPECT_TRUE(logged("footswitch behaviour message: 080101"));
    EXPECT_FALSE(window->chkBypassShortPress->isChecked());
}

TEST_F(Assignments, FootswitchModeFromTheReply) {
    StatusReply reply;
    reply.footswitchMode = 3;
    window->getFootswitchMode(reply);
    EXPECT_TRUE(window->chkChangePresetShortPress->isChecked());
    EXPECT_TRUE(window->chkBypassLongPress->isChecked());

    reply.footswitchMode = 7;
    window->getFootswitchMode(reply);
    EXPECT_TRUE(window->chkChangePresetShortPress->isChecked());
    EXPECT_TRUE(window->chkBypassLongPress->isChecked());
    EXPECT_EQ(window->FootswitchMode, 7);
    EXPECT_EQ(log, (QStringList{"Footswitch Mode: 3", "Footswitch Mode: 7"}));

    reply.footswitchMode = 0;
    window->getFootswitchMode(reply);
    EXPECT_TRUE(window->chkBypassShortPress->isChecked());
    EXPECT_TRUE(window->chkChangePresetLongPress->isChecked());
}

TEST_F(Assignments, AssignmentsFromTheReply) {
    window->cmbAssignCtrlDUE->setCurrentText("Dry HPF");
    window->cmbAssignRemote->setCurrentText("Bypass");
    window->cmbGuitarTuning->setCurrentIndex(1);  // read before the assignments
    StatusReply reply;
    reply.assignmentFlags = {1, 0, 1, 0, 1};
    reply.assignmentFields = {0x00C6, 0x0041, 0x000E, 0xFFFF, 0xFFFF};
    window->getAssignments(reply);

    EXPECT_EQ(window->cmbAssignCtrlUNO->currentText(), "Wave Clip");
    EXPECT_EQ(window->cmbAssignCtrlDUE->currentIndex(), 0);  // not flagged
    EXPECT_EQ(window->cmbAssignCtrlTRE->currentIndex(), 2);
    EXPECT_EQ(window->cmbAssignRemote->currentText(), "Bypass");  // 0xFFFF matches nothing
    const auto& parameters = window->Parameters();
    EXPECT_TRUE(parameters.assignable(param::kWaveClip - param::kInputLevel).is_assigned);
    EXPECT_TRUE(parameters.assignable(param::kHighNotesCut - param::kInputLevel).is_assigned);
    EXPECT_FALSE(parameters.assignable(param::kDryHpf - param::kInputLevel).is_assigned);
    EXPECT_EQ(window->AssignmentFlags, (std::array<std::uint8_t, 5>{1, 0, 1, 0, 1}));

    reply.assignmentFields[4] = 0xFFFD;
    window->getAssignments(reply);
    EXPECT_EQ(window->cmbAssignRemote->currentText(), "Preset");
}

}  // namespace
}  // namespace effects_test
