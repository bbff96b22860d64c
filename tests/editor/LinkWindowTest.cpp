// Finding, linking and unlinking software pedals from the main window.
#include <gtest/gtest.h>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "effects/ArcDial.h"

using namespace pedal_test;
using Answer = Dialogs::Answer;

namespace {

const std::vector<std::string> kLinkedControls = {
    "Unlink",      "Upgrade Mode",          "Erase Settings", "Upload Selected",
    "Request",     "Save Parameters",       "Assign",         "Set Footswitch Mode",
    "Set Tuning",  "Instrument Range",      "Bypass Status",  "Load Preset",
    "Save Preset", "Load Effect From File", "Effect list",    "Upload Tuning Data",
    "MIDI"};

TEST(LinkWindow, LinkShowsThePedalAndUnlinkGivesTheControlsBack) {
    PedalEditor pedal;
    TformMain& main = pedal.main();
    EXPECT_EQ(main.lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_EQ(main.menuSerialNumber->text(), "Device Serial: VKTZ5001");
    EXPECT_EQ(EnabledControls(main),
              OnlyEnabled({"Scan", "Link", "Upgrade Mode", "Effect list"}, main));

    pedal.link();

    EXPECT_EQ(main.lblDeviceName->text(), "Varkunda TZ5 linked");
    EXPECT_EQ(main.lblFirmwareVersion->text(), "Device Firmware: 13");
    EXPECT_EQ(main.lblAlgorithmVersion->text(), "Device Algorithm: 0014");
    EXPECT_TRUE(pedal.context().DeviceLinked);
    EXPECT_EQ(EnabledControls(main), OnlyEnabled(kLinkedControls, main));
    EXPECT_TRUE(pedal.effects().dialDry->isEnabled());
    EXPECT_TRUE(main.Timer_USB_Read->isActive());
    EXPECT_EQ(pedal.statusRequests(), 1);
    const QStringList log = pedal.editor.consoleLines();
    EXPECT_TRUE(log.contains("serial number: VKTZ5001"));
    EXPECT_TRUE(log.contains("baud rate = 115200"));
    EXPECT_TRUE(pedal.editor.dialogs.shown.isEmpty());

    main.menuDisconnect->trigger();

    EXPECT_EQ(main.lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_FALSE(pedal.context().DeviceLinked);
    EXPECT_FALSE(main.Timer_USB_Read->isActive());
    // Unlink leaves the effect list and Upgrade Mode as they are; Bypass Status, which
    // talks to the pedal, goes off with the other device controls.
    EXPECT_EQ(EnabledControls(main),
              OnlyEnabled({"Scan", "Link", "Upgrade Mode", "Effect list"}, main));
    EXPECT_FALSE(pedal.effects().dialDry->isEnabled());

    pedal.link();
    EXPECT_EQ(main.lblDeviceName->text(), "Varkunda TZ5 linked");
    EXPECT_EQ(pedal.statusRequests(), 2);
}

// Unlink takes off exactly what Link added: the label does not grow a blank with each
// cycle, and a description that holds the word keeps it.
TEST(LinkWindow, TheLabelIsTheDescriptionAgainAfterEveryUnlink) {
    for (const char* description : {"Varkunda TZ5", "linked box"}) {
        PedalEditor pedal({Identity("VK1", description)});
        QLabel* label = pedal.main().lblDeviceName;
        for (int cycle = 0; cycle < 4; ++cycle) {
            pedal.link();
            EXPECT_EQ(label->text(), QString(description) + " linked") << cycle;
            pedal.main().menuDisconnect->trigger();
            EXPECT_EQ(label->text(), description) << cycle;
        }
    }
}

struct ScanCase {
    const char* name;
    std::vector<Answer> answers;
    std::vector<bool> linked;  // which pedal received the status request
    const char* label;
    bool linkEnabled;
};

class ScanTwoPedals : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTwoPedals, AsksForEachPedalInIndexOrder) {
    const ScanCase& c = GetParam();
    PedalEditor pedal({Identity("VKTZ5001", "Pedal A"), Identity("VKTZ5002", "Pedal B")});
    TformMain& main = pedal.main();
    EXPECT_EQ(main.lblDeviceName->text(), "Pedal B");
    EXPECT_EQ(main.menuSerialNumber->text(), "Device Serial: VKTZ5001VKTZ5002");
    main.menuConnect->setEnabled(false);  // so a No visibly enables it again
    for (Answer answer : c.answers) pedal.editor.dialogs.answer({answer});
    pedal.markConsole();

    main.menuScan->trigger();

    EXPECT_EQ(pedal.editor.dialogs.questions, QStringList({"Pedal A found, link the device now?",
                                                           "Pedal B found, link the device now?"}));
    const QStringList log = pedal.consoleSinceMark();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log[0], "FT device count: 2");
    EXPECT_EQ(log[1], "FT_Device_String: VKTZ5001");
    EXPECT_TRUE(log.contains("FT_Device_String: VKTZ5002"));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(pedal.statusRequests(i), c.linked[i] ? 1 : 0) << "pedal " << i;
        if (!c.linked[i]) {
            EXPECT_TRUE(pedal.wire(i).empty()) << "pedal " << i;
        }
    }
    EXPECT_EQ(main.lblDeviceName->text(), c.label);
    EXPECT_EQ(main.menuConnect->isEnabled(), c.linkEnabled);
    EXPECT_EQ(pedal.context().DeviceSerial, "VKTZ5002");
    EXPECT_EQ(main.menuSerialNumber->text(), "Device Serial: VKTZ5001VKTZ5002");
    EXPECT_TRUE(pedal.editor.dialogs.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ScanTwoPedals,
    ::testing::Values(
        ScanCase{"NoNo", {Answer::No, Answer::No}, {false, false}, "Pedal B", true},
        ScanCase{"NoYes", {Answer::No, Answer::Yes}, {false, true}, "Pedal B linked", false},
        ScanCase{"YesYes", {Answer::Yes, Answer::Yes}, {true, true}, "Pedal B linked", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A Yes to both offers leaves only the second pedal open: the first can be opened again.
TEST(LinkWindow, LinkingASecondPedalLetsGoOfTheFirst) {
    PedalEditor pedal({Identity("VKTZ5001", "Pedal A"), Identity("VKTZ5002", "Pedal B")});
    pedal.editor.dialogs.answer({Answer::Yes, Answer::Yes});
    pedal.main().menuScan->trigger();

    FtHandle first = 0, second = 0;
    EXPECT_EQ(pedal.device.openBySerialNumber("VKTZ5001", first), varkunda::link::ft::OK);
    EXPECT_EQ(pedal.device.openBySerialNumber("VKTZ5002", second),
              varkunda::link::ft::DEVICE_NOT_OPENED);
}

TEST(LinkWindow, ScanWithoutDevicesSaysSo) {
    EditorHarness editor;
    editor.start();
    editor.main().menuScan->trigger();
    EXPECT_EQ(editor.dialogs.messages, QStringList({"No device found"}));
    EXPECT_EQ(editor.main().lblDeviceName->text(), "No device found");
    EXPECT_EQ(editor.consoleLines(), QStringList({"FT device count: 0"}));
    EXPECT_TRUE(editor.dialogs.questions.isEmpty());
}

// After the pedal has gone, a scan that finds nothing leaves Link with nothing to open.
TEST(LinkWindow, ScanThatFindsNoDeviceTakesLinkAway) {
    PedalEditor pedal;
    pedal.link();
    pedal.main().menuDisconnect->trigger();
    pedal.pedal().unplug();

    pedal.main().menuScan->trigger();

    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({"No device found"}));
    EXPECT_EQ(EnabledControls(pedal.main()),
              OnlyEnabled({"Scan", "Upgrade Mode", "Effect list"}, pedal.main()));
}

// The pedal is held open by another program: the failed open is reported and nothing
// is asked of a device that is not open.
TEST(LinkWindow, FailedOpenRequestsNoStatus) {
    PedalEditor pedal;
    FtHandle elsewhere = 0;
    ASSERT_EQ(pedal.device.openBySerialNumber("VKTZ5001", elsewhere), varkunda::link::ft::OK);
    const ControlStates before = EnabledControls(pedal.main());

    pedal.link();

    EXPECT_EQ(pedal.editor.dialogs.messages,
              QStringList({"Open_USB_Device_By_Serial_Number - Device not opened..."}));
    EXPECT_TRUE(pedal.wire().empty());
    EXPECT_FALSE(pedal.context().DeviceLinked);
    EXPECT_EQ(pedal.main().lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_EQ(EnabledControls(pedal.main()), before);
    EXPECT_FALSE(pedal.main().Timer_USB_Read->isActive());
}

TEST(LinkWindow, FailedCloseKeepsTheLinkedState) {
    PedalEditor pedal;
    pedal.link();
    pedal.device.close(pedal.context().device.DeviceHandle);  // behind the editor's back
    const ControlStates linked = EnabledControls(pedal.main());

    pedal.main().menuDisconnect->trigger();

    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({"FT_Close - Invalid handle..."}));
    EXPECT_EQ(pedal.main().lblDeviceName->text(), "Varkunda TZ5 linked");
    EXPECT_EQ(EnabledControls(pedal.main()), linked);
    EXPECT_TRUE(pedal.context().DeviceLinked);
    EXPECT_TRUE(pedal.main().Timer_USB_Read->isActive());
}

struct HandshakeCase {
    const char* name;
    bool pedalInBootloader;
    const char* message;
    bool startUpgradeEnabled;
};

class BootloaderLink : public ::testing::TestWithParam<HandshakeCase> {};

// Upgrade mode links to the pedal's bootloader: 0x7F on the even-parity line.
TEST_P(BootloaderLink, HandshakeOutcomeIsShown) {
    const HandshakeCase& c = GetParam();
    PedalEditor pedal;
    if (c.pedalInBootloader) pedal.pedal().replug(true);
    pedal.context().BootloaderMode = true;
    pedal.context().SkipStatusAfterLink = true;

    pedal.link();

    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({c.message}));
    EXPECT_EQ(pedal.wire(), Bytes({0x7F}));
    EXPECT_EQ(pedal.pedal().wireLog().back().line.parity, 2);
    EXPECT_EQ(pedal.main().menuStartFirmwareUpgrade->isEnabled(), c.startUpgradeEnabled);
    // A pedal in its bootloader gets no status request or algorithm image; one that
    // did not answer the handshake is linked as usual.
    EXPECT_EQ(pedal.main().btnRequest->isEnabled(), !c.startUpgradeEnabled);
    EXPECT_EQ(pedal.main().btnUpload->isEnabled(), !c.startUpgradeEnabled);
    EXPECT_EQ(pedal.main().lblDeviceName->text(), "Varkunda TZ5 linked");
}

INSTANTIATE_TEST_SUITE_P(
    Pedal, BootloaderLink,
    ::testing::Values(
        HandshakeCase{"InBootloader", true,
                      "Connection to bootloader succeeded, ready for firmware upgrade", true},
        HandshakeCase{"RunningItsEffect", false, "Connection to bootloader failed", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
