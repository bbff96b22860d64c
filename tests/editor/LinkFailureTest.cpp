// Links that fail and pedals that go away, as the main window meets them.
#include <gtest/gtest.h>

#include <optional>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "effects/ArcDial.h"

using namespace pedal_test;
using varkunda::link::FtHandle;
using varkunda::link::FtStatus;
using varkunda::link::LinkError;
using varkunda::link::LinkErrorKind;
namespace ft = varkunda::link::ft;

namespace {

// The software pedal behind a serial port the system refuses, or on a line whose baud
// rate or data characteristics the driver will not take.
class RefusingD2xx : public varkunda::link::SimulatedD2xx {
  public:
    bool denyPort = false;
    std::optional<const char*> refusedSetter;  // "baud" or "data"

    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override {
        failure_.reset();
        if (!denyPort) return SimulatedD2xx::openBySerialNumber(serial, handle);
        failure_ = LinkError{.kind = LinkErrorKind::PermissionDenied,
                             .device = "/dev/ttyUSB0",
                             .detail = "Permission denied"};
        return ft::DEVICE_NOT_OPENED;
    }
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override {
        if (refusedSetter == std::string("baud")) return ft::INVALID_BAUD_RATE;
        return SimulatedD2xx::setBaudRate(handle, baudRate);
    }
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t bits, std::uint8_t stop,
                                    std::uint8_t parity) override {
        if (refusedSetter == std::string("data")) return ft::INVALID_PARAMETER;
        return SimulatedD2xx::setDataCharacteristics(handle, bits, stop, parity);
    }
    std::optional<LinkError> lastFailure() const override { return failure_; }

  private:
    std::optional<LinkError> failure_;
};

// The editor started on a RefusingD2xx.
struct RefusedEditor {
    RefusedEditor() : editor(&driver) { editor.start(); }
    varkunda::sim::PedalSimulator& pedal() { return *driver.pedal(0); }
    TformMain& main() { return editor.main(); }

    RefusingD2xx driver;
    EditorHarness editor;
};

// Only the player can mend a denied port, so the message says how, with reports off too.
TEST(LinkFailure, ADeniedPortSaysHowToGetAccess) {
    RefusedEditor refused;
    refused.driver.denyPort = true;
    refused.editor.context().device.ErrorReportsOn = false;

    refused.main().menuConnect->trigger();

    EXPECT_EQ(refused.editor.dialogs.messages,
              QStringList({"Permission denied opening /dev/ttyUSB0: add yourself to the dialout "
                           "group (sudo usermod -aG dialout $USER) and log in again."}));
    EXPECT_FALSE(refused.editor.context().DeviceLinked);
    EXPECT_EQ(refused.main().lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_TRUE(refused.pedal().hostBytes().empty());
    EXPECT_TRUE(
        refused.editor.consoleLines().contains("Link failed: the device could not be opened"));
}

// A line the driver would not set to the pedal's settings would garble every message: it is
// closed again, not shown as linked, and nothing is sent on it.
TEST(LinkFailure, ALineWhoseSettingsFailIsNotLinked) {
    for (const char* setter : {"baud", "data"}) {
        SCOPED_TRACE(setter);
        RefusedEditor refused;
        refused.driver.refusedSetter = setter;
        refused.editor.context().device.ErrorReportsOn = false;
        const ControlStates before = EnabledControls(refused.main());

        refused.main().menuConnect->trigger();

        ASSERT_EQ(refused.editor.dialogs.messages.size(), 1);
        EXPECT_TRUE(refused.editor.dialogs.messages[0].startsWith(
            "The line settings could not be applied ("))
            << refused.editor.dialogs.messages[0].toStdString();
        EXPECT_TRUE(refused.editor.dialogs.messages[0].endsWith(
            "); the device was closed and is not linked."));
        EXPECT_FALSE(refused.editor.context().DeviceLinked);
        EXPECT_EQ(refused.main().lblDeviceName->text(), "Varkunda TZ5");
        EXPECT_EQ(EnabledControls(refused.main()), before);
        EXPECT_FALSE(refused.main().Timer_USB_Read->isActive());
        EXPECT_TRUE(refused.pedal().hostBytes().empty());
        // Closed again: the device can be opened once more.
        FtHandle handle = 0;
        EXPECT_EQ(refused.driver.openBySerialNumber("VKTZ5001", handle), ft::OK);
    }
}

// The pedal pulled out while linked: the editor hears of it once, through its DeviceLost
// hook, and no driver failure is shown for it, whatever the player does next.
TEST(LinkFailure, AnUnpluggedPedalIsHandedToTheDeviceLostHookOnce) {
    PedalEditor pedal;
    pedal.link();
    QStringList lostReasons;
    pedal.context().DeviceLost = [&](const QString& reason) { lostReasons << reason; };
    pedal.context().device.ErrorReportsOn = true;
    pedal.editor.dialogs.clear();
    pedal.clearWire();

    pedal.pedal().unplug();
    pedal.main().Timer_USB_ReadTimer();
    pedal.main().btnRequest->click();
    pedal.effects().dialDry->setAngle(ArcDial::kMaximumStop);
    pedal.effects().Timer1Timer();
    pedal.main().menuStandardClick();
    pedal.main().Timer_USB_ReadTimer();

    EXPECT_EQ(lostReasons, QStringList({"The device is no longer connected: FT_GetQueueStatus - "
                                        "General IO error..."}));
    for (const QString& message : pedal.editor.dialogs.messages)
        EXPECT_FALSE(message.startsWith("FT_")) << message.toStdString();
    EXPECT_TRUE(pedal.wire().empty());
}

// Once the pedal is back, unlinking the lost one and linking again works, as it does
// when the pedal comes back as another device.
TEST(LinkFailure, AReplugLinksAgain) {
    PedalEditor pedal;
    pedal.link();
    int lost = 0;
    pedal.context().DeviceLost = [&](const QString&) { ++lost; };
    pedal.pedal().unplug();
    pedal.main().Timer_USB_ReadTimer();
    ASSERT_EQ(lost, 1);

    pedal.pedal().replug();
    pedal.main().menuDisconnect->trigger();
    ASSERT_FALSE(pedal.context().DeviceLinked);
    pedal.clearWire();
    pedal.editor.dialogs.clear();
    pedal.link();

    EXPECT_TRUE(pedal.context().DeviceLinked);
    EXPECT_EQ(pedal.statusRequests(), 1);
    EXPECT_EQ(pedal.main().lblDeviceName->text(), "Varkunda TZ5 linked");
    EXPECT_TRUE(pedal.editor.dialogs.messages.isEmpty());
    EXPECT_TRUE(pedal.main().Timer_USB_Read->isActive());
    EXPECT_EQ(lost, 1);
}

}  // namespace
