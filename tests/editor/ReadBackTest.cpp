// Setting the effect window from the pedal's status reply.
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

#include "EffectsFixture.h"
#include "effects/ArcDial.h"
#include "effects/ToggleSwitch.h"
#include "protocol/Parameters.h"
#include "protocol/StatusReply.h"

namespace param = varkunda::protocol::param;
using varkunda::protocol::StatusReply;

namespace effects_test {
namespace {

class ReadBack : public EffectsFixture {
  protected:
    // Controls showing the values of `reply` after a load that sent nothing back.
    StatusReply SampleReply() {
        StatusReply reply;
        reply.tuning = 1;
        reply.semitoneVariation = -1;
        reply.bypass = 1;
        auto& values = reply.parameters;
        values[param::kDry] = 0x007FE000;
        values[param::kWave] = 0x00400000;
        values[param::kLowPass] = 12;
        values[param::kHighPass] = 8;
        values[param::kSplit] = 1;
        values[param::kRange] = 11;
        values[param::kHarmonicPitch] = 0x655558;
        values[param::kHighNotesCut] = 1;
        values[param::kLimitRangeUp] = 1;
        values[param::kNoiseGateThreshold] = 0x7FE000;
        return reply;
    }
};

TEST_F(ReadBack, TuningAndSemitonesFromTheReply) {
    StatusReply reply;
    reply.tuning = 1;
    reply.semitoneVariation = -1;
    window->getTuning(reply);

    EXPECT_EQ(window->cmbGuitarTuning->currentText(), "Standard (EADGBE)");
    EXPECT_EQ(window->cmbSemitonesVariation->currentText(), "-1");
    EXPECT_EQ(window->CurrentTuning, 1);
    EXPECT_EQ(window->SemitoneVariation, -1);
    EXPECT_EQ(log, (QStringList{"Current Tuning: 1", "Semitones variation: FF"}));
}

TEST_F(ReadBack, TuningOrSemitonesOutOfRangeLeaveTheListsAndAreLogged) {
    window->cmbGuitarTuning->setCurrentIndex(3);
    window->cmbSemitonesVariation->setCurrentText("+2");
    for (auto [tuning, semitones] : {std::pair{9, 4}, std::pair{255, -6}, std::pair{200, -128}}) {
        log.clear();
        StatusReply reply;
        reply.tuning = static_cast<std::uint8_t>(tuning);
        reply.semitoneVariation = static_cast<std::int8_t>(semitones);
        window->getTuning(reply);

        EXPECT_EQ(window->cmbGuitarTuning->currentIndex(), 3);
        EXPECT_EQ(window->cmbSemitonesVariation->currentText(), "+2");
        EXPECT_EQ(window->CurrentTuning, 3);
        EXPECT_EQ(window->SemitoneVariation, 2);
        EXPECT_EQ(log.size(), 4);
        EXPECT_EQ(log[0], "Current Tuning: " + QString::number(tuning));
        EXPECT_TRUE(log[2].contains(QString::number(tuning))) << log[2].toStdString();
        EXPECT_TRUE(log[3].contains(QString::number(semitones))) << log[3].toStdString();
    }
}

TEST_F(ReadBack, BypassFromTheReply) {
    StatusReply reply;
    reply.bypass = 1;
    window->getBypassStatus(reply);
    EXPECT_TRUE(window->swtBypass->isOn());
    reply.bypass = 2;
    window->getBypassStatus(reply);
    EXPECT_TRUE(window->swtBypass->isOn());
    reply.bypass = 0;
    window->getBypassStatus(reply);
    EXPECT_FALSE(window->swtBypass->isOn());
}

TEST_F(ReadBack, ParameterPrintUsesItsLabels) {
    StatusReply reply;
    for (std::size_t i = 0; i < reply.parameters.size(); ++i)
        reply.parameters[i] = static_cast<std::uint32_t>(0x1000 + i);
    context.LoadingFromPedal = true;
    window->getParameters(reply);
    const QStringList expected = {"Dry: \t00001000",
                                  "Sub Mix: 00001001",
                                  "Sub -1: \t00001002",
                                  "Sub -2: \t00001003",
                                  "Wave: \t00001004",
                                  "LPF: \t00001005",
                                  "HPF: \t00001006",
                                  "1st Harmonic: \t00001007",
                                  "Split: \t00001008",
                                  "Range: \t00001009",
                                  "Input Lvl: \t0000100A",
                                  "Harmonic pitch: \t0000100B",
                                  "Clip: \t0000100C",
                                  "Dominant notes cut: \t0000100D",
                                  "High notes cut: \t0000100E",
                                  "Dry HPF: \t0000100F",
                                  "Limit Range UP: \t00001010",
                                  "Noise Gate Status: \t00001011",
                                  "Noise Gate Threshold: \t00001012"};
    EXPECT_EQ(log.mid(0, 19), expected);
}

TEST_F(ReadBack, RequestLoadSetsTheControlsAndKeepsTheRawValues) {
    context.LoadingFromPedal = true;
    const StatusReply reply = SampleReply();
    window->getTuning(reply);
    window->getBypassStatus(reply);
    window->getParameters(reply);

    EXPECT_EQ(window->dialDry->angle(), -45);
    EXPECT_EQ(window->dialLowPass->angle(), 90);
    EXPECT_EQ(window->dialHighPass->angle(), 89);
    EXPECT_EQ(window->dialRange->angle(), 90);
    EXPECT_EQ(window->dialNoiseGateThreshold->angle(), -45);
    EXPECT_TRUE(window->swtWave->isOn());
    EXPECT_TRUE(window->swtSplit->isOn());
    EXPECT_TRUE(window->swtLimitRange->isOn());
    EXPECT_TRUE(window->swtBypass->isOn());
    EXPECT_TRUE(window->chkHighNoteCut->isChecked());
    EXPECT_EQ(window->cmbVariableWavePitch->currentText(), "+7");
    EXPECT_EQ(window->Parameters().value(param::kLowPass), 12u);
    EXPECT_EQ(window->Parameters().value(param::kRange), 11u);
    EXPECT_EQ(window->Parameters().values(), reply.parameters);

    // A reply is a read: not even the switches, which send the user's changes during a
    // Request, answer it (Wave, Split, Limit Range and Bypass moved).
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(writes().empty());
}

// A load outside a Request (after Link, an upload or an upgrade) reads as one does: no
// value makes a round trip through a dial, so none drifts and nothing is sent.
TEST_F(ReadBack, LoadOutsideARequestAlsoKeepsTheRawValuesAndSendsNothing) {
    StatusReply reply = SampleReply();
    reply.tuning = 0;
    reply.parameters[param::kSubMix] = 0x400000;  // would go back as 0x402000
    reply.parameters[param::kDominantNotesCut] = 1;
    reply.assignmentFlags[2] = 1;
    reply.assignmentFields[2] = 0x001D;  // "Dominant Notes Cut", chosen without a tuning
    window->getFootswitchMode(reply);
    window->getTuning(reply);
    window->getAssignments(reply);
    window->getBypassStatus(reply);
    window->getParameters(reply);

    EXPECT_EQ(window->Parameters().values(), reply.parameters);
    EXPECT_EQ(window->Parameters().value(param::kLowPass), 12u);
    EXPECT_EQ(window->dialLowPass->angle(), 90);
    EXPECT_TRUE(window->swtWave->isOn());
    EXPECT_TRUE(window->swtBypass->isOn());
    EXPECT_TRUE(window->chkDominantNoteCut->isChecked());
    EXPECT_EQ(window->cmbAssignCtrlTRE->currentText(), "Dominant Notes Cut");
    EXPECT_EQ(window->AssignmentFlags[2], 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(writes().empty());

    // The user's changes afterwards send as always.
    window->dialSubMix->setAngle(90);
    window->Timer1Timer();
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("010007003FC000")}));
}

TEST_F(ReadBack, ImmediateRefreshWritesAtOnce) {
    auto& values = window->Parameters();
    values.value(param::kDry) = 0x007FE000;
    window->ApplyParametersToWindow(true);
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_FALSE(window->SendImmediately);
    EXPECT_EQ(writes().front(), Hex("010027007FE000"));
}

TEST_F(ReadBack, RefreshWhereNothingChangesSendsNothing) {
    context.LoadingFromPedal = true;
    window->getParameters(SampleReply());
    context.LoadingFromPedal = false;
    clearWrites();
    log.clear();

    window->ApplyParametersToWindow(false);
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReadBack, ValuesOutsideTheDecodingsLeaveOrClearTheControls) {
    window->swtWave->setOn(true);
    window->swtSplit->setOn(true);
    window->swtNoiseGateStatus->setOn(true);
    window->cmbVariableWavePitch->setCurrentIndex(4);
    auto& values = window->Parameters();
    values.value(param::kWave) = 0x00500000;
    values.value(param::kSplit) = 2;
    values.value(param::kNoiseGateStatus) = 2;
    values.value(param::kHarmonicPitch) = 0x123456;
    context.LoadingFromPedal = true;
    window->ApplyParametersToWindow(false);

    EXPECT_TRUE(window->swtWave->isOn());
    EXPECT_TRUE(window->swtSplit->isOn());
    EXPECT_FALSE(window->swtNoiseGateStatus->isOn());
    EXPECT_EQ(window->cmbVariableWavePitch->currentIndex(), 4);
}

}  // namespace
}  // namespace effects_test
