// What the effect window tells the main window about itself: whether it holds the
// values read from the linked pedal, and its busy switch for exchanges with the pedal.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "EffectsFixture.h"
#include "PedalFixture.h"
#include "effects/ArcDial.h"

using namespace pedal_test;
using varkunda::sim::Fault;

namespace {

void SetEffectIndex(varkunda::sim::PedalSimulator& pedal, std::uint8_t index) {
    auto identity = pedal.identity();
    identity.effectIndex = index;
    pedal.setIdentity(identity);
}

void ClickEntry(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

TEST(PedalValues, HeldOnlyWhileTheLastAppliedReplyIsTheLinkedPedals) {
    PedalEditor pedal;
    TformFXsettings& window = pedal.effects();
    TformMain& main = pedal.main();
    EXPECT_FALSE(window.HoldsPedalValues());  // the window's own start values

    pedal.link();
    EXPECT_TRUE(window.HoldsPedalValues());

    // A request that gets no reply changes nothing in the window.
    pedal.pedal().injectFault(Fault::Silence);
    main.btnRequest->click();
    EXPECT_TRUE(window.HoldsPedalValues());

    // After Unlink the values are no pedal's, also when the next link reads nothing.
    main.menuDisconnect->trigger();
    EXPECT_FALSE(window.HoldsPedalValues());
    pedal.link();
    ASSERT_TRUE(pedal.context().DeviceLinked);
    EXPECT_FALSE(window.HoldsPedalValues());
    pedal.pedal().injectFault(Fault::None);
    main.btnRequest->click();
    EXPECT_TRUE(window.HoldsPedalValues());

    // A reply the window is not set from: an effect the list does not hold.
    SetEffectIndex(pedal.pedal(), 5);
    main.btnRequest->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.HoldsPedalValues());
    SetEffectIndex(pedal.pedal(), 0);
    main.btnRequest->click();
    EXPECT_TRUE(window.HoldsPedalValues());

    // Another effect shown without a reply.
    pedal.editor.resources.replace("VARKUNDA_TZ5_0015",
                                   *pedal.editor.resources.find("VARKUNDA_TZ5_0014"));
    main.lstEffects->addItem("Varkunda TZ5 0015");
    ClickEntry(main.lstEffects, 0);  // the same effect again keeps them
    EXPECT_TRUE(window.HoldsPedalValues());
    ClickEntry(main.lstEffects, 1);
    ASSERT_EQ(pedal.context().SelectedEffectName, "Varkunda TZ5 0015");
    EXPECT_FALSE(window.HoldsPedalValues());
    ClickEntry(main.lstEffects, 0);
    EXPECT_FALSE(window.HoldsPedalValues());
}

using BusyEffectWindow = effects_test::EffectsFixture;

TEST_F(BusyEffectWindow, GoingBusySendsTheWaitingDialChangesAndTakesNoInput) {
    window->dialDry->setAngle(90);
    window->dialSubMix->setAngle(0);
    ASSERT_TRUE(writes().empty());
    const auto sleptBefore = harness.linkEnvironment.totalSlept();

    window->SetBusy(true);

    EXPECT_EQ(writes(), (std::vector<Bytes>{effects_test::Hex("010027003FC000"),
                                            effects_test::Hex("010007006A8000")}));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_GT(harness.linkEnvironment.totalSlept(), sleptBefore);  // they cross the line
    EXPECT_FALSE(window->isEnabled());
    EXPECT_FALSE(window->dialDry->isEnabled());

    window->SetBusy(false);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->dialDry->isEnabled());

    // Nothing waiting: nothing sent and no pause.
    clearWrites();
    const auto sleptIdle = harness.linkEnvironment.totalSlept();
    window->SetBusy(true);
    window->SetBusy(false);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(harness.linkEnvironment.totalSlept(), sleptIdle);
}

TEST_F(BusyEffectWindow, FlushSendsTheWaitingChangesAtOnce) {
    EXPECT_FALSE(window->FlushPendingChanges());
    window->dialDry->setAngle(90);
    EXPECT_TRUE(window->FlushPendingChanges());
    EXPECT_EQ(writes(), (std::vector<Bytes>{effects_test::Hex("010027003FC000")}));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_FALSE(window->FlushPendingChanges());
    EXPECT_EQ(writes().size(), 1u);
}

}  // namespace
