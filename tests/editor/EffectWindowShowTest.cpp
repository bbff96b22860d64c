// Showing the effect window: its image, address table, components and enabling.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QRadioButton>
#include <set>

#include "EffectsFixture.h"
#include "effects/ArcDial.h"
#include "effects/EffectControls.h"
#include "effects/ToggleSwitch.h"
#include "protocol/Parameters.h"

namespace param = varkunda::protocol::param;

namespace effects_test {
namespace {

using EffectWindowShow = EffectsFixture;

TEST_F(EffectWindowShow, ShowLogsTheResourceAndTheImageStartAndReadsTheAddresses) {
    window->hide();
    window->show();

    const QString line = context.AlgorithmImageText.value(0);
    ASSERT_GT(line.size(), 256);
    EXPECT_EQ(log, (QStringList{"resource name: Varkunda_TZ5_0014",
                                "filecontent (first 128 bytes): " + line.left(256)}));
    const auto& parameters = window->Parameters();
    EXPECT_EQ(parameters.address(param::kDry), 0x0027);
    EXPECT_EQ(parameters.address(param::kRange), 0x002D);
    EXPECT_EQ(parameters.address(param::kNoiseGateThreshold), 0x0003);
}

TEST_F(EffectWindowShow, ImageWithoutACompleteAddressTableIsReportedAndChangesNoAddress) {
    const QByteArray good = ImageLine(kBuiltInAddresses);
    QByteArray badDigit = good;
    badDigit[12] = 'G';  // inside slot 1
    for (const QByteArray& line : {good.left(89), badDigit, QByteArray()}) {
        useImage(line);
        dialogs.messages.clear();
        window->hide();
        window->show();

        ASSERT_EQ(dialogs.messages.size(), 1) << line.toStdString();
        EXPECT_TRUE(dialogs.messages[0].contains("address table"))
            << dialogs.messages[0].toStdString();
        EXPECT_TRUE(logged(dialogs.messages[0]));
        EXPECT_EQ(window->Parameters().address(param::kDry), 0x0027);
        EXPECT_EQ(window->Parameters().address(param::kSubMix), 0x0007);
    }
}

TEST_F(EffectWindowShow, MissingImageIsReportedAndKeepsTheLoadedLines) {
    const QStringList before = context.AlgorithmImageText;
    context.SelectedEffectName = "Varkunda TZ5 0099";
    window->hide();
    window->show();

    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("Error loading resource: "));
    EXPECT_EQ(context.AlgorithmImageText, before);
    EXPECT_EQ(window->Parameters().address(param::kDry), 0x0027);
}

TEST_F(EffectWindowShow, StartsWithTheDesignStates) {
    TformFXsettings fresh(context);
    EXPECT_EQ(fresh.size(), QSize(440, 432));
    EXPECT_EQ(fresh.dialLowPass->angle(), -138);
    EXPECT_EQ(fresh.dialHighPass->angle(), -128);
    EXPECT_EQ(fresh.dialRange->angle(), -126);
    EXPECT_EQ(fresh.dialDryHPF->angle(), -126);
    EXPECT_EQ(fresh.dialDry->angle(), -135);
    EXPECT_FALSE(fresh.dial1stHarmonic->isEnabled());
    EXPECT_FALSE(fresh.swtWave->isEnabled());
    EXPECT_FALSE(fresh.swtSplit->isEnabled());
    EXPECT_TRUE(fresh.dialDry->isEnabled());
    EXPECT_EQ(fresh.cmbVariableWavePitch->currentIndex(), -1);
    EXPECT_EQ(fresh.cmbVariableWavePitch->count(), 25);
    EXPECT_EQ(fresh.cmbGuitarTuning->currentText(), "No Tuning Selected");
    EXPECT_EQ(fresh.cmbSemitonesVariation->currentText(), "0");
    EXPECT_EQ(fresh.cmbAssignCtrlTRE->itemText(4), "Noise Gate Status");
    EXPECT_EQ(fresh.cmbAssignCtrlDUE->itemText(5), "Noise Gate Threshold");
    EXPECT_EQ(fresh.cmbAssignRemote->itemText(2), "Preset");
    EXPECT_TRUE(fresh.chkBypassShortPress->isChecked());
    EXPECT_TRUE(fresh.chkChangePresetLongPress->isChecked());
    EXPECT_EQ(fresh.AssignmentFlags, (std::array<std::uint8_t, 5>{}));
    EXPECT_EQ(fresh.chkDominantNoteCut->toolTip(),
              "Improves tracking on lowest chord (E-open chord in standard tuning) when RANGE is "
              "set high.\r\nMake sure to choose the right tuning for your instrument before "
              "applying this parameter.");
    EXPECT_EQ(fresh.Parameters().address(param::kInputLevel), 0xFFFF);
}

// The control table is the one place that pairs components, parameters and handlers:
// every parameter has one control, built under its member's name and heard by a
// handler of its own.
TEST_F(EffectWindowShow, ControlTableGivesEveryParameterOneControlAndOneHandler) {
    std::set<std::size_t> parameters;
    std::set<QString> names;
    for (const effect_controls::EffectControl& control : effect_controls::Controls()) {
        parameters.insert(control.parameter);
        names.insert(control.name);
        QWidget* component = nullptr;
        effect_controls::VisitComponent(*window, control,
                                        [&](auto* created) { component = created; });
        ASSERT_NE(component, nullptr) << control.name;
        EXPECT_EQ(component->objectName(), control.name);
        EXPECT_EQ(window->findChild<QWidget*>(control.name), component);
        EXPECT_EQ(&effect_controls::ControlOf(control.parameter), &control);
        for (const effect_controls::EffectControl& other : effect_controls::Controls())
            EXPECT_TRUE(&other == &control || other.changed != control.changed) << control.name;
    }
    EXPECT_EQ(parameters.size(), varkunda::protocol::kParameterCount);
    EXPECT_EQ(names.size(), varkunda::protocol::kParameterCount);
}

TEST_F(EffectWindowShow, EnableWindowControlsSwitchesEveryControl) {
    window->EnableWindowControls(false);
    for (QWidget* child : window->findChildren<QWidget*>())
        EXPECT_FALSE(child->isEnabled()) << child->objectName().toStdString();

    window->EnableWindowControls(true);
    for (QWidget* child : window->findChildren<QWidget*>())
        EXPECT_TRUE(child->isEnabled()) << child->objectName().toStdString();
}

TEST_F(EffectWindowShow, FramesAndLinesGetTheirOutlineColourOnShow) {
    for (const char* name :
         {"frameHarmonic", "frameTracking", "frameNoiseGate", "lineHorizontal", "lineVertical"}) {
        auto* frame = window->findChild<QFrame*>(name);
        ASSERT_NE(frame, nullptr) << name;
        EXPECT_TRUE(frame->styleSheet().contains("#fff8f8ff")) << name;
    }
}

}  // namespace
}  // namespace effects_test
