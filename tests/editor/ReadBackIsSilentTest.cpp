// Reading the pedal is a read: the status reply a link or a request brings moves the
// effect window's controls and sends nothing back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "PedalFixture.h"
#include "effects/ArcDial.h"
#include "effects/ToggleSwitch.h"
#include "protocol/Parameters.h"

using namespace pedal_test;
namespace param = varkunda::protocol::param;

namespace {

// Values that move every kind of control away from where the window starts, values
// whose round trip through a dial would drift, and an assignment the window questions
// when the user picks it without a tuning.
void MoveEveryControl(varkunda::sim::PedalState& state) {
    auto& values = state.parameters;
    values[param::kDry] = 0x166000;
    values[param::kMinus2Oct] = 0x200000;
    values[param::kWave] = 0x400000;
    values[param::kSplit] = 1;
    values[param::kHarmonicPitch] = 0x655558;
    values[param::kDominantNotesCut] = 1;
    values[param::kLimitRangeUp] = 1;
    values[param::kNoiseGateStatus] = 1;
    state.bypass = 1;
    state.tuning = 0;
    state.assignmentFlags[2] = 1;
    state.assignmentFields[2] = 0x001D;  // "Dominant Notes Cut" on Control III
}

// Whatever the window has queued for its send timer goes out now.
void SendWhatIsQueued(PedalEditor& pedal) {
    if (pedal.effects().Timer1->isActive()) pedal.effects().Timer1Timer();
}

TEST(ReadBackIsSilent, LinkSendsOnlyTheStatusRequestAlsoOverRepeatedUnlinkAndLink) {
    PedalEditor pedal;
    MoveEveryControl(pedal.pedal().state());
    const auto reported = pedal.pedal().state().parameters;

    for (int cycle = 1; cycle <= 6; ++cycle) {
        pedal.clearWire();
        pedal.main().menuConnect->trigger();
        ASSERT_TRUE(pedal.context().DeviceLinked) << cycle;
        EXPECT_FALSE(pedal.effects().Timer1->isActive()) << cycle;
        SendWhatIsQueued(pedal);
        EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00})) << "link " << cycle;
        EXPECT_EQ(pedal.pedal().state().parameters, reported) << "link " << cycle;
        pedal.main().menuDisconnect->trigger();
    }

    // The window shows the reply and keeps its values exactly as the pedal sent them.
    TformFXsettings& window = pedal.effects();
    EXPECT_EQ(window.Parameters().values(), reported);
    EXPECT_TRUE(window.swtWave->isOn());
    EXPECT_TRUE(window.swtSplit->isOn());
    EXPECT_TRUE(window.swtLimitRange->isOn());
    EXPECT_TRUE(window.swtNoiseGateStatus->isOn());
    EXPECT_TRUE(window.swtBypass->isOn());
    EXPECT_TRUE(window.chkDominantNoteCut->isChecked());
    EXPECT_EQ(window.cmbVariableWavePitch->currentText(), "+7");
    EXPECT_EQ(window.cmbAssignCtrlTRE->currentText(), "Dominant Notes Cut");
    EXPECT_NE(window.dialDry->angle(), -135);
    EXPECT_TRUE(pedal.editor.dialogs.messages.isEmpty());
}

TEST(ReadBackIsSilent, RequestSendsOnlyTheStatusRequest) {
    PedalEditor pedal;
    pedal.link();
    MoveEveryControl(pedal.pedal().state());
    const auto reported = pedal.pedal().state().parameters;
    pedal.clearWire();

    pedal.main().btnRequest->click();
    SendWhatIsQueued(pedal);

    EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00}));
    EXPECT_EQ(pedal.effects().Parameters().values(), reported);
    EXPECT_TRUE(pedal.effects().swtWave->isOn());
    EXPECT_TRUE(pedal.editor.dialogs.messages.isEmpty());

    // Afterwards the controls send again.
    pedal.effects().swtWave->setOn(false);
    EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00, 0x01, 0x00, 0x02, 0x00, 0x60, 0x00, 0x00}));
}

}  // namespace
