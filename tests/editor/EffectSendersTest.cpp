// What each control of the effect window sends to the pedal, byte for byte.
#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <vector>

#include "EffectsFixture.h"
#include "effects/ArcDial.h"
#include "effects/ToggleSwitch.h"
#include "protocol/Parameters.h"

namespace param = varkunda::protocol::param;

namespace effects_test {
namespace {

using EffectSenders = EffectsFixture;

TEST_F(EffectSenders, DialBurstEndsInOneWriteOfTheLastPositionAndLogsEveryStep) {
    window->dialDry->setAngle(180);
    window->dialDry->setAngle(90);
    window->dialDry->setAngle(0);

    EXPECT_TRUE(writes().empty());
    ASSERT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(window->Timer1->interval(), 100);
    EXPECT_EQ(log, (QStringList{"Send Dry string (standard par): 0100270014E000",
                                "Send Dry string (standard par): 010027003FC000",
                                "Send Dry string (standard par): 010027006A8000"}));

    window->Timer1Timer();
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("010027006A8000")}));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(window->Parameters().value(param::kDry), 0x006A8000u);
    EXPECT_EQ(pedal().state().parameters[param::kDry], 0x006A8000u);
}

TEST_F(EffectSenders, DialInTheDeadZoneJumpsToTheNearerStop) {
    struct Case {
        int released;
        int shown;
        const char* message;
    };
    for (const Case& c : {Case{-100, -135, "01002700000000"}, Case{-60, -45, "010027007FE000"},
                          Case{-90, -135, "01002700000000"}}) {
        window->dialDry->setAngle(0);
        window->Timer1Timer();
        clearWrites();

        window->dialDry->setAngle(c.released);
        window->Timer1Timer();
        EXPECT_EQ(window->dialDry->angle(), c.shown) << c.released;
        EXPECT_EQ(writes(), (std::vector<Bytes>{Hex(c.message)})) << c.released;
    }
}

// A drag a few degrees past a stop, on into the dead zone and beyond its bottom, sends
// that stop and never the opposite one.
TEST_F(EffectSenders, DragPastEachStopSendsThatStop) {
    ArcDial* dial = window->dialSubMix;
    const QPointF centre(dial->width() / 2.0, 1 + (dial->height() - 16) / 2.0);
    const auto towards = [&](int angle) {
        const double radians = angle * 3.14159265358979 / 180.0;
        return (centre + QPointF(std::cos(radians), -std::sin(radians)) * 18).toPoint();
    };
    struct Case {
        std::vector<int> path;  // pressed at the first angle, released at the last
        int stop;
        const char* message;
    };
    for (const Case& c : {Case{{-140, -130, -110, -90, -75, -60}, -135, "01000700000000"},
                          Case{{-40, -50, -70, -90, -105, -120}, -45, "010007007FE000"}}) {
        QTest::mousePress(dial, Qt::LeftButton, {}, towards(c.path.front()));
        for (int angle : c.path) QTest::mouseMove(dial, towards(angle));
        QTest::mouseRelease(dial, Qt::LeftButton, {}, towards(c.path.back()));
        window->Timer1Timer();

        EXPECT_EQ(dial->angle(), c.stop);
        EXPECT_EQ(writes(), (std::vector<Bytes>{Hex(c.message)})) << c.stop;
        EXPECT_EQ(pedal().state().parameters[param::kSubMix],
                  varkunda::protocol::DialAngleToValue(c.stop));
        clearWrites();
    }
}

TEST_F(EffectSenders, SendTimerWritesTheDialMessageNotWhatAnotherSenderLeftInTheBuffer) {
    window->dialDry->setAngle(90);
    window->swtWave->setOn(true);  // written at once through the same buffer
    window->Timer1Timer();

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("01000200400000"), Hex("010027003FC000")}));
}

TEST_F(EffectSenders, TwoDialsMovedInOneBurstEachSendTheirLastPosition) {
    window->dialDry->setAngle(90);
    window->dialSubMix->setAngle(180);
    window->dialDry->setAngle(0);
    window->Timer1Timer();

    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("010027006A8000"), Hex("0100070014E000")}));
}

TEST_F(EffectSenders, RangeDialUsesSlotNineOfTheAddressTable) {
    window->dialRange->setAngle(90);
    window->Timer1Timer();
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("01002D003FC000")}));
    EXPECT_EQ(pedal().state().parameters[param::kRange], 11u);  // reported as a step
}

TEST_F(EffectSenders, SwitchesSendAtOnceAndKeepWhatTheySent) {
    struct Row {
        ToggleSwitch* control;
        std::size_t parameter;
        const char* onMessage;
        const char* offMessage;
        std::uint32_t onValue;
        std::uint32_t offValue;
        QString logText;
    };
    const Row rows[] = {
        {window->swtWave, param::kWave, "01000200400000", "01000200600000", 0x400000, 0x600000,
         "Send Wave string (standard par): "},
        {window->swtSplit, param::kSplit, "0100C900000001", "0100C900000000", 1, 0,
         "Send Split string (standard par): "},
        {window->swtLimitRange, param::kLimitRangeUp, "01FF0000000001", "01FF0000000000", 1, 0,
         "Send Limit Range UP string (assignable par): "},
        {window->swtNoiseGateStatus, param::kNoiseGateStatus, "0100BC00000001", "0100BC00000000", 1,
         0, "Send Noise Gate Status string (assignable par): "},
    };
    for (const Row& row : rows) {
        clearWrites();
        log.clear();
        row.control->setOn(true);
        EXPECT_EQ(writes(), (std::vector<Bytes>{Hex(row.onMessage)})) << row.onMessage;
        EXPECT_EQ(window->Parameters().value(row.parameter), row.onValue);
        EXPECT_EQ(log, QStringList{row.logText + row.onMessage});

        row.control->setOn(false);
        EXPECT_EQ(writes().back(), Hex(row.offMessage));
        EXPECT_EQ(window->Parameters().value(row.parameter), row.offValue);
    }
}

TEST_F(EffectSenders, BypassSwitchSendsTheBypassMessageUnlessARequestLoads) {
    window->swtBypass->setOn(true);
    window->swtBypass->setOn(false);
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("0D01"), Hex("0D00")}));
    EXPECT_TRUE(log.isEmpty());

    context.LoadingFromPedal = true;
    window->swtBypass->setOn(true);
    EXPECT_EQ(writes().size(), 2u);
}

TEST_F(EffectSenders, HarmonicPitchEntrySendsItsTableValueAtOnce) {
    window->cmbVariableWavePitch->setCurrentText("+7");
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("01005200655558")}));
    EXPECT_TRUE(logged("Send Harmonic Pitch string: 01005200655558"));
    EXPECT_EQ(window->Parameters().value(param::kHarmonicPitch), 0x655558u);
}

TEST_F(EffectSenders, NoteCutWithoutTuningWarnsOnceAndSendsZero) {
    window->chkDominantNoteCut->setChecked(true);

    EXPECT_EQ(dialogs.messages, QStringList{"Set a tuning before using this parameter"});
    EXPECT_FALSE(window->chkDominantNoteCut->isChecked());
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("01001D00000000")}));
    EXPECT_TRUE(logged("write to DSP msg: 01001D00000000"));
    EXPECT_EQ(window->Parameters().value(param::kDominantNotesCut), 0u);
}

TEST_F(EffectSenders, NoteCutWithATuningSendsOne) {
    window->cmbGuitarTuning->setCurrentIndex(1);
    window->chkHighNoteCut->setChecked(true);

    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(writes(), (std::vector<Bytes>{Hex("01000E00000001")}));
    EXPECT_EQ(window->Parameters().value(param::kHighNotesCut), 1u);
}

TEST_F(EffectSenders, RightClickOnDominantNotesCutOnlyLogs) {
    QTest::mouseClick(window->chkDominantNoteCut, Qt::RightButton);
    EXPECT_EQ(log, QStringList{"Right mouse button clicked!"});
    EXPECT_FALSE(window->chkDominantNoteCut->isChecked());
    EXPECT_TRUE(writes().empty());
}

TEST_F(EffectSenders, TuningListsStoreTheirChoiceAndSendNothing) {
    window->cmbGuitarTuning->setCurrentIndex(2);
    window->cmbSemitonesVariation->setCurrentText("-5");
    EXPECT_EQ(window->CurrentTuning, 2);
    EXPECT_EQ(static_cast<std::uint8_t>(window->SemitoneVariation), 0xFB);
    window->cmbSemitonesVariation->setCurrentText("+3");
    EXPECT_EQ(window->SemitoneVariation, 3);
    EXPECT_TRUE(writes().empty());
}

TEST_F(EffectSenders, GuardedHandlersStaySilentWhileARequestLoads) {
    context.LoadingFromPedal = true;
    window->dialDry->setAngle(90);
    window->cmbVariableWavePitch->setCurrentIndex(3);
    window->chkHighNoteCut->setChecked(true);

    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

}  // namespace
}  // namespace effects_test
