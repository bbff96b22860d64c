// Which controls can reach the pedal: nothing that talks to it without a linked one,
// and nothing that sends the effect window's values before the window holds the pedal's.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <functional>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "console/TformPrint.h"

using namespace pedal_test;

namespace {

void SetFirmware(varkunda::sim::PedalSimulator& pedal, std::uint8_t firmware,
                 std::uint16_t algorithm) {
    auto identity = pedal.identity();
    identity.firmware = firmware;
    identity.algorithmNumber = algorithm;
    pedal.setIdentity(identity);
}

// The menu items a click can reach: enabled, under enabled menus.
void CollectReachable(const QList<QAction*>& actions, QStringList& reachable) {
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isEnabled()) continue;
        if (QMenu* submenu = action->menu())
            CollectReachable(submenu->actions(), reachable);
        else
            reachable << action->text();
    }
}

// What a player may still use without a pedal: finding and linking one, arming the
// legacy upgrade way, the looks, the editor's own preferences and the Info menu.
const QStringList kWithoutPedal = {"Scan",
                                   "Link",
                                   "Upgrade Mode",
                                   "Report USB Errors",
                                   "Support",
                                   "Show Update Message",
                                   "0",
                                   "1",
                                   "2",
                                   "3",
                                   "4",
                                   "5",
                                   "6"};

void ExpectNothingTalksToThePedal(PedalEditor& pedal) {
    TformMain& main = pedal.main();
    QStringList reachable;
    CollectReachable(main.menuBar()->actions(), reachable);
    for (const QString& item : reachable)
        EXPECT_TRUE(kWithoutPedal.contains(item)) << item.toStdString();
    for (QPushButton* button : main.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    for (QWidget* control : pedal.effects().findChildren<QWidget*>())
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(pedal.editor.console().btnReadEEPROM->isEnabled());
    EXPECT_FALSE(pedal.editor.console().btnEraseEeprom->isEnabled());
}

struct LeaveCase {
    const char* name;
    std::function<void(PedalEditor&)> prepare;  // before Link
};

void PrintTo(const LeaveCase& c, std::ostream* out) { *out << c.name; }

class LeavingAPedal : public ::testing::TestWithParam<LeaveCase> {};

// Whatever state the link was in, Unlink and a lost pedal leave nothing that would
// write to a handle that is no longer open.
TEST_P(LeavingAPedal, LeavesNothingThatTalksToThePedal) {
    for (const bool lost : {false, true}) {
        SCOPED_TRACE(lost ? "pedal lost" : "Unlink");
        PedalEditor pedal;
        GetParam().prepare(pedal);
        pedal.link();
        ASSERT_TRUE(pedal.context().DeviceLinked);

        if (lost) {
            pedal.pedal().unplug();
            pedal.main().DeviceLost("gone");
        } else {
            pedal.main().menuDisconnect->trigger();
        }

        ExpectNothingTalksToThePedal(pedal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, LeavingAPedal,
    ::testing::Values(
        LeaveCase{"Accepted", [](PedalEditor&) {}},
        LeaveCase{"FirmwareTooOld", [](PedalEditor& p) { SetFirmware(p.pedal(), 12, 14); }},
        LeaveCase{"AlgorithmTooOld", [](PedalEditor& p) { SetFirmware(p.pedal(), 13, 13); }},
        LeaveCase{"UnknownEffect",
                  [](PedalEditor& p) {
                      p.pedal().overrideStatusNumbers({{3, 5}});
                  }},
        LeaveCase{"BootloaderConnected",
                  [](PedalEditor& p) {
                      p.pedal().replug(true);
                      p.context().BootloaderMode = true;
                      p.context().SkipStatusAfterLink = true;
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// The effect window opened from the list before any link takes no input either.
TEST(DeviceControls, NothingTalksToThePedalBeforeTheFirstLink) {
    PedalEditor pedal;
    pedal.main().lstEffects->setCurrentRow(0);
    pedal.main().effetto_cliccato(pedal.main().lstEffects->item(0));
    ASSERT_TRUE(pedal.effects().isVisible());
    ExpectNothingTalksToThePedal(pedal);
}

// Assignable values the pedal holds, none of them zero.
void GiveThePedalValues(varkunda::sim::PedalSimulator& pedal) {
    for (std::size_t i = 0; i < pedal.state().parameters.size(); ++i)
        pedal.state().parameters[i] = 0x00100000 + static_cast<std::uint32_t>(i);
}

const std::vector<std::string> kSendWindowValues = {"Save Parameters", "Assign",
                                                    "Set Footswitch Mode", "Set Tuning"};

struct ValuesCase {
    const char* name;
    std::function<void(PedalEditor&)> linkWithoutValues;
    std::function<void(PedalEditor&)> undo;  // so that a Request reads the values
};

void PrintTo(const ValuesCase& c, std::ostream* out) { *out << c.name; }

class WithoutThePedalsValues : public ::testing::TestWithParam<ValuesCase> {};

// Save would store the window's untouched defaults over the pedal's values: the four
// commands wait until a status reply of this pedal has set the window.
TEST_P(WithoutThePedalsValues, NothingSendsTheWindowsValuesUntilTheyAreRead) {
    const ValuesCase& c = GetParam();
    PedalEditor pedal;
    GiveThePedalValues(pedal.pedal());
    TformMain& main = pedal.main();

    c.linkWithoutValues(pedal);

    ASSERT_TRUE(pedal.context().DeviceLinked);
    const ControlStates states = EnabledControls(main);
    for (const std::string& name : kSendWindowValues) EXPECT_FALSE(states.at(name)) << name;
    EXPECT_TRUE(states.at("Request"));
    EXPECT_TRUE(states.at("Upload Selected"));
    const auto stored = pedal.pedal().state().parameters;
    pedal.clearWire();
    pedal.editor.dialogs.clear();
    for (QPushButton* button :
         {main.btnSaveParameters, main.btnAssign, main.btnSetFootswitchMode, main.btnSetTuning})
        button->click();
    EXPECT_TRUE(pedal.wire().empty());
    EXPECT_TRUE(pedal.editor.dialogs.questions.isEmpty());
    EXPECT_EQ(pedal.pedal().state().parameters, stored);

    c.undo(pedal);
    main.btnRequest->click();

    for (const std::string& name : kSendWindowValues)
        EXPECT_TRUE(EnabledControls(main).at(name)) << name;
    pedal.clearWire();
    main.btnSaveParameters->click();
    ASSERT_EQ(pedal.pedal().wireLog().size(), 1u);
    EXPECT_EQ(pedal.pedal().wireLog()[0].bytes.size(), 37u);
    EXPECT_EQ(pedal.pedal().state().parameters, stored);
}

INSTANTIATE_TEST_SUITE_P(
    Links, WithoutThePedalsValues,
    ::testing::Values(ValuesCase{"EffectNumberNotInTheList",
                                 [](PedalEditor& p) {
                                     p.pedal().overrideStatusNumbers({{3, 5}});
                                     p.link();
                                 },
                                 [](PedalEditor& p) { p.pedal().overrideStatusNumbers({}); }},
                      ValuesCase{"EffectImageThatCannotBeLoaded",
                                 [](PedalEditor& p) {
                                     p.editor.resources.remove("VARKUNDA_TZ5_0014");
                                     p.link();
                                 },
                                 [](PedalEditor& p) { p.editor.resources.removed.clear(); }},
                      ValuesCase{"LinkWithoutAStatusRequest",
                                 [](PedalEditor& p) {
                                     p.context().SkipStatusAfterLink = true;
                                     p.link();
                                 },
                                 [](PedalEditor&) {}},
                      // The values read from the pedal linked before are not this pedal's.
                      ValuesCase{"RelinkToAPedalReportingAnUnknownEffect",
                                 [](PedalEditor& p) {
                                     p.link();
                                     p.main().menuDisconnect->trigger();
                                     p.pedal().overrideStatusNumbers({{3, 5}});
                                     p.link();
                                 },
                                 [](PedalEditor& p) { p.pedal().overrideStatusNumbers({}); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
