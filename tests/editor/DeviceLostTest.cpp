// A pedal that goes away while linked: one message, the unlinked state, and a link that
// works again once it is back.
#include <gtest/gtest.h>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "effects/ArcDial.h"

using namespace pedal_test;
using Answer = Dialogs::Answer;
using varkunda::link::FtHandle;
using varkunda::link::FtStatus;

namespace {

const QString kLostMessage =
    "The Varkunda TZ5 was disconnected. Plug it in again and choose Connection > Scan.";

// What the handle the editor held answers now: IO_ERROR while it is still open on the
// unplugged pedal, INVALID_HANDLE once the editor has closed it.
FtStatus HandleState(PedalEditor& pedal, FtHandle handle) {
    std::uint32_t queued = 0;
    return pedal.device.getQueueStatus(handle, queued);
}

// The pedal comes back; Scan offers it and Link reads its status as after a first link.
void ExpectScanAndLinkWorkAgain(PedalEditor& pedal) {
    TformMain& main = pedal.main();
    pedal.pedal().replug();
    pedal.clearWire();
    pedal.editor.dialogs.clear();
    pedal.editor.dialogs.answer({Answer::Yes});
    ASSERT_TRUE(main.menuScan->isEnabled());

    main.menuScan->trigger();

    EXPECT_EQ(pedal.editor.dialogs.questions,
              QStringList({"Varkunda TZ5 found, link the device now?"}));
    EXPECT_TRUE(pedal.editor.dialogs.messages.isEmpty());
    EXPECT_TRUE(pedal.context().DeviceLinked);
    EXPECT_EQ(main.lblDeviceName->text(), "Varkunda TZ5 linked");
    EXPECT_EQ(pedal.statusRequests(), 1);
    EXPECT_TRUE(main.btnSaveParameters->isEnabled());
    EXPECT_TRUE(pedal.effects().dialDry->isEnabled());
    EXPECT_TRUE(main.Timer_USB_Read->isActive());
}

void ExpectUnlinkedAsUnlinkLeavesIt(PedalEditor& pedal) {
    TformMain& main = pedal.main();
    EXPECT_FALSE(pedal.context().DeviceLinked);
    EXPECT_EQ(main.lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_EQ(EnabledControls(main),
              OnlyEnabled({"Scan", "Link", "Upgrade Mode", "Effect list"}, main));
    EXPECT_FALSE(main.Timer_USB_Read->isActive());
    EXPECT_FALSE(main.UploadCheckTimer->isActive());
    EXPECT_FALSE(pedal.effects().dialDry->isEnabled());
    EXPECT_FALSE(pedal.context().PedalExchangeRunning);
}

class DeviceLost : public ::testing::TestWithParam<bool> {};

// Losing the pedal is no driver detail: its message comes whether or not USB errors
// are reported, and only once however often the loss is noticed.
TEST_P(DeviceLost, SaysSoOnceAndUnlinks) {
    PedalEditor pedal;
    pedal.link();
    TformMain& main = pedal.main();
    main.UploadCheckTimer->start();
    pedal.context().device.ErrorReportsOn = GetParam();
    const FtHandle handle = pedal.context().device.DeviceHandle;
    pedal.pedal().unplug();
    pedal.editor.dialogs.clear();
    pedal.markConsole();

    main.DeviceLost("FT_Read: device not found");
    main.DeviceLost("FT_Write: device not found");

    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({kLostMessage}));
    EXPECT_TRUE(pedal.editor.dialogs.questions.isEmpty());
    EXPECT_EQ(pedal.consoleSinceMark(),
              QStringList({"The Varkunda TZ5 was disconnected: FT_Read: device not found"}));
    ExpectUnlinkedAsUnlinkLeavesIt(pedal);
    EXPECT_EQ(HandleState(pedal, handle), varkunda::link::ft::INVALID_HANDLE);
    ExpectScanAndLinkWorkAgain(pedal);
}

INSTANTIATE_TEST_SUITE_P(ReportUsbErrors, DeviceLost, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

// Lost inside the wait of a status request: the request's own failure is not shown as
// a second message, the exchange's end does not give the controls back, and the handle
// is let go of only after the exchange, never under the link layer's feet.
TEST(DeviceLostInsideAnExchange, StaysUnlinkedAndClosesTheHandleAfterTheExchange) {
    PedalEditor pedal;
    pedal.link();
    TformMain& main = pedal.main();
    pedal.context().device.ErrorReportsOn = false;
    const FtHandle handle = pedal.context().device.DeviceHandle;
    std::optional<FtStatus> handleInside;
    pedal.editor.linkEnvironment.onProcessEvents = [&] {
        if (handleInside) return;
        pedal.pedal().unplug();
        main.DeviceLost("FT_GetQueueStatus: device not found");
        handleInside = HandleState(pedal, handle);
    };
    pedal.editor.dialogs.clear();

    main.btnRequest->click();
    pedal.editor.linkEnvironment.onProcessEvents = nullptr;

    ASSERT_TRUE(handleInside.has_value());
    EXPECT_EQ(*handleInside, varkunda::link::ft::IO_ERROR);
    EXPECT_EQ(HandleState(pedal, handle), varkunda::link::ft::INVALID_HANDLE);
    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({kLostMessage}));
    ExpectUnlinkedAsUnlinkLeavesIt(pedal);
    EXPECT_TRUE(pedal.effects().isEnabled());
    EXPECT_FALSE(pedal.context().LoadingFromPedal);
    ExpectScanAndLinkWorkAgain(pedal);
}

TEST(DeviceLostWhileUnlinked, ChangesNothing) {
    PedalEditor pedal;
    const ControlStates before = EnabledControls(pedal.main());
    pedal.main().DeviceLost("gone");
    EXPECT_TRUE(pedal.editor.dialogs.shown.isEmpty());
    EXPECT_EQ(EnabledControls(pedal.main()), before);
    EXPECT_EQ(pedal.main().lblDeviceName->text(), "Varkunda TZ5");
}

// The link layer reaches the window through the editor's context.
TEST(DeviceLostHook, TheContextHookReachesTheMainWindow) {
    PedalEditor pedal;
    pedal.link();
    pedal.context().DeviceLost("gone");
    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({kLostMessage}));
    EXPECT_FALSE(pedal.context().DeviceLinked);
}

}  // namespace
