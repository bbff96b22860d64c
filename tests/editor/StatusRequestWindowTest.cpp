// The status request as the main window makes and shows it, against the software pedal.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTest>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "console/TformPrint.h"
#include "effects/ArcDial.h"
#include "link/Transport.h"
#include "protocol/HexText.h"

using namespace pedal_test;
using varkunda::sim::Fault;

namespace {

const QString kAlgorithmMessage =
    "Upload the latest version of Varkunda TZ5 algorithm:\r\nUpload Varkunda TZ5 0014";

void SetFirmware(varkunda::sim::PedalSimulator& pedal, std::uint8_t firmware,
                 std::uint16_t algorithm = 14) {
    auto identity = pedal.identity();
    identity.firmware = firmware;
    identity.algorithmNumber = algorithm;
    pedal.setIdentity(identity);
}

TEST(StatusRequestWindow, AcceptedReplySelectsTheEffectOpensTheWindowAndAppliesTheReaders) {
    PedalEditor pedal;
    pedal.pedal().state().midiChannel = 5;
    pedal.pedal().state().storeBypassStatus = 1;
    pedal.pedal().state().footswitchMode = 2;
    pedal.pedal().state().parameters[3] = 0x12345678;
    pedal.markConsole();

    pedal.link();

    const QStringList log = pedal.consoleSinceMark();
    const QStringList shown = {"Firmware Version: 13", "Algorithm version: 0014",
                               "Current device firmware: 13", "Most recent firmware: 13",
                               "Effect Number: 00"};
    const qsizetype first = log.indexOf(shown[0]);
    ASSERT_GE(first, 0);
    EXPECT_EQ(log.mid(first, shown.size()), shown);
    EXPECT_TRUE(log.contains("efx index :0"));
    EXPECT_TRUE(log.contains("selected effect name: Varkunda TZ5 0014"));
    EXPECT_TRUE(log.contains("MIDI channel: 5"));
    EXPECT_EQ(pedal.main().lstEffects->currentRow(), 0);
    EXPECT_EQ(pedal.context().SelectedEffectName, "Varkunda TZ5 0014");
    EXPECT_TRUE(pedal.effects().isVisible());
    EXPECT_TRUE(pedal.main().MIDIChannelItems[5]->isChecked());
    EXPECT_FALSE(pedal.main().MIDIChannelItems[0]->isChecked());
    EXPECT_TRUE(pedal.main().menuStoreBypassStatus->isChecked());
    EXPECT_FALSE(pedal.main().menuDoNotStoreBypassStatus->isChecked());
    EXPECT_TRUE(pedal.main().Timer_USB_Read->isActive());
    EXPECT_TRUE(pedal.editor.dialogs.shown.isEmpty());
    // The effect window's readers ran around the main window's, in the reply's order.
    EXPECT_EQ(pedal.effects().FootswitchMode, 2);
    EXPECT_TRUE(pedal.effects().chkChangePresetShortPress->isChecked());
    const qsizetype footswitch = log.indexOf("Footswitch Mode: 2");
    const qsizetype midi = log.indexOf("MIDI channel: 5");
    const qsizetype parameter = log.indexOf("Sub -2: \t12345678");
    EXPECT_TRUE(first < footswitch && footswitch < midi && midi < parameter)
        << footswitch << " " << midi << " " << parameter;
}

// While the Request button's request waits, the effect window must not echo what the
// reply sets; afterwards it sends again.
TEST(StatusRequestWindow, RequestButtonHoldsTheEffectWindowQuietUntilTheReplyIsApplied) {
    PedalEditor pedal;
    pedal.link();
    std::optional<bool> loadingDuringWait;
    pedal.editor.linkEnvironment.onProcessEvents = [&] {
        if (!loadingDuringWait) loadingDuringWait = pedal.context().LoadingFromPedal;
    };
    pedal.clearWire();

    pedal.main().btnRequest->click();

    EXPECT_EQ(loadingDuringWait, true);
    EXPECT_FALSE(pedal.context().LoadingFromPedal);
    EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00}));
}

TEST(StatusRequestWindow, OldFirmwareShowsBothMessagesAndSwitchesTheDeviceControlsOff) {
    PedalEditor pedal;
    pedal.link();
    ASSERT_TRUE(pedal.effects().isVisible());
    SetFirmware(pedal.pedal(), 12);

    pedal.main().btnRequest->click();

    ASSERT_EQ(pedal.editor.dialogs.messages.size(), 2);
    EXPECT_EQ(pedal.editor.dialogs.messages[0],
              "A firmware upgrade is required. Upgrade to Firmware 13");
    EXPECT_EQ(pedal.editor.dialogs.messages[1],
              "If current firmware is below 9 follow legacy firmware upgrade mode:\r\n"
              "1) close editor application and disconnect pedal from USB\r\n"
              "2) hold shift button while connecting pedal to USB\r\n"
              "3) start application, check Firmware Upgrade Mode in Firmware Upgrade menu\r\n"
              "4) clink Link under Connection menu\r\n"
              "5) go to Firmware Upgrade menu again and select Firmware Upgrade\r\n\r\n"
              "If current firmware is 9 or above go to Firmware Upgrade menu and follow "
              "instructions.");
    EXPECT_EQ(pedal.main().lblFirmwareVersion->text(), "Device Firmware: 12");
    EXPECT_EQ(EnabledControls(pedal.main()),
              OnlyEnabled({"Unlink", "Upgrade Mode", "Erase Settings"}, pedal.main()));
    EXPECT_FALSE(pedal.effects().isVisible());
    EXPECT_FALSE(pedal.main().Timer_USB_Read->isActive());
    EXPECT_TRUE(pedal.context().LoadingFromPedal);
}

TEST(StatusRequestWindow, OldAlgorithmAsksForTheUploadAndLeavesUploadEnabled) {
    PedalEditor pedal;
    SetFirmware(pedal.pedal(), 13, 13);

    pedal.link();

    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({kAlgorithmMessage}));
    EXPECT_EQ(pedal.main().lblAlgorithmVersion->text(), "Device Algorithm: 0013");
    EXPECT_TRUE(pedal.main().btnUpload->isEnabled());
    EXPECT_TRUE(pedal.main().lstEffects->isEnabled());
    for (QPushButton* button :
         {pedal.main().btnRequest, pedal.main().btnSaveParameters, pedal.main().btnAssign,
          pedal.main().btnSetFootswitchMode, pedal.main().btnSetTuning})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_EQ(pedal.context().SelectedEffectName, "Varkunda TZ5 0014");
    EXPECT_FALSE(pedal.effects().isVisible());
    EXPECT_FALSE(pedal.main().Timer_USB_Read->isActive());
}

// Bytes the software pedal never sends by itself, as a pedal with other firmware might.
struct OddReplyCase {
    const char* name;
    std::map<std::size_t, std::uint8_t> overrides;
    QStringList messages;
};

class OddStatusReply : public ::testing::TestWithParam<OddReplyCase> {};

TEST_P(OddStatusReply, SelectsNothingItCannotReadAndSaysSo) {
    const OddReplyCase& c = GetParam();
    PedalEditor pedal;
    pedal.pedal().state().midiChannel = 3;
    pedal.pedal().overrideStatusNumbers(c.overrides);

    pedal.link();

    EXPECT_EQ(pedal.editor.dialogs.messages, c.messages);
    EXPECT_EQ(pedal.main().lstEffects->currentRow(), -1);
    EXPECT_FALSE(pedal.effects().isVisible());
    EXPECT_TRUE(pedal.context().SelectedEffectName.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, OddStatusReply,
    ::testing::Values(
        OddReplyCase{"EffectNumberWithHexLetter",
                     {{3, 0x0A}},
                     {"The pedal reports effect number 0A, which is not in the effect list: no "
                      "effect was selected."}},
        OddReplyCase{"EffectNumberBeyondTheList",
                     {{3, 0x05}},
                     {"The pedal reports effect number 05, which is not in the effect list: no "
                      "effect was selected."}},
        OddReplyCase{"AlgorithmWithHexLetterAndEffectBeyondTheList",
                     {{2, 0x1A}, {3, 0x05}},
                     {"The pedal's algorithm version \"001A\" is not a version number this "
                      "editor can read.\r\n" +
                          kAlgorithmMessage,
                      "The pedal reports effect number 05, which is not in the effect list: no "
                      "effect was selected."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusRequestWindow, UnknownEffectStillShowsThePedalWideSettingsAndRunsOn) {
    PedalEditor pedal;
    pedal.pedal().state().midiChannel = 3;
    pedal.pedal().state().instrumentRange = 186;
    pedal.pedal().overrideStatusNumbers({{3, 0x0A}});
    pedal.link();
    EXPECT_TRUE(pedal.main().MIDIChannelItems[3]->isChecked());
    EXPECT_TRUE(pedal.main().menuLow->isChecked());
    EXPECT_TRUE(pedal.main().btnRequest->isEnabled());
    EXPECT_TRUE(pedal.main().Timer_USB_Read->isActive());
}

// Without an effect window (as while the editor is being taken down) a reply still sets
// the pedal-wide menus and nothing reaches for the missing window.
TEST(StatusRequestWindow, AcceptedReplyWithoutAnEffectWindowShowsThePedalWideSettings) {
    PedalEditor pedal;
    pedal.pedal().state().midiChannel = 7;
    pedal.pedal().state().instrumentRange = 186;
    pedal.context().formFXsettings = nullptr;

    pedal.link();

    EXPECT_EQ(pedal.main().lstEffects->currentRow(), 0);
    EXPECT_TRUE(pedal.main().MIDIChannelItems[7]->isChecked());
    EXPECT_TRUE(pedal.main().menuLow->isChecked());
    EXPECT_TRUE(pedal.main().Timer_USB_Read->isActive());
    EXPECT_FALSE(pedal.effects().isVisible());
}

TEST(StatusRequestWindow, UnreadableAlgorithmIsTreatedAsOneToReplace) {
    PedalEditor pedal;
    pedal.pedal().overrideStatusNumbers({{2, 0x1A}});
    pedal.link();
    EXPECT_EQ(pedal.main().lblAlgorithmVersion->text(), "Device Algorithm: 001A");
    EXPECT_EQ(pedal.main().lstEffects->currentRow(), 0);
    EXPECT_TRUE(pedal.main().btnUpload->isEnabled());
    EXPECT_FALSE(pedal.main().btnRequest->isEnabled());
    EXPECT_FALSE(pedal.main().Timer_USB_Read->isActive());
}

struct FaultCase {
    const char* name;
    Fault fault;
    std::size_t count;
    QString message;
};

class FailedStatusRequest : public ::testing::TestWithParam<FaultCase> {};

// A request that gets no complete reply shows why once and leaves the window as the
// last good reply left it.
TEST_P(FailedStatusRequest, ShowsOneMessageAndLeavesTheWindowAsItWas) {
    const FaultCase& c = GetParam();
    PedalEditor pedal;
    pedal.link();
    TformMain& main = pedal.main();
    main.MIDIChannelItems[0]->setChecked(false);  // a re-applied reply would check OMNI
    SetFirmware(pedal.pedal(), 12);
    pedal.pedal().injectFault(c.fault, c.count);
    const ControlStates before = EnabledControls(main);
    pedal.markConsole();
    pedal.clearWire();

    main.btnRequest->click();

    EXPECT_EQ(pedal.editor.dialogs.messages, QStringList({c.message}));
    EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00}));
    EXPECT_EQ(main.lblFirmwareVersion->text(), "Device Firmware: 13");
    EXPECT_EQ(main.lblAlgorithmVersion->text(), "Device Algorithm: 0014");
    EXPECT_FALSE(main.MIDIChannelItems[0]->isChecked());
    for (const QString& line : pedal.consoleSinceMark())
        EXPECT_FALSE(line.startsWith("Firmware Version") || line.startsWith("MIDI channel"))
            << line.toStdString();
    EXPECT_EQ(EnabledControls(main), before);
    EXPECT_TRUE(pedal.effects().isVisible());
    EXPECT_TRUE(main.Timer_USB_Read->isActive());
    EXPECT_FALSE(pedal.context().LoadingFromPedal);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedStatusRequest,
    ::testing::Values(FaultCase{"ShortReply", Fault::ShortReply, 40,
                                "The pedal's status reply was incomplete (40 of 102 numbers)."},
                      FaultCase{"Silence", Fault::Silence, 0,
                                "The pedal did not answer the status request in time."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusRequestWindow, UnpluggedPedalGivesOneMessage) {
    PedalEditor pedal;
    pedal.link();
    pedal.context().device.ErrorReportsOn = false;
    pedal.pedal().unplug();
    pedal.main().btnRequest->click();
    // Losing the pedal is said once, whatever the request itself ran into.
    EXPECT_EQ(pedal.editor.dialogs.messages,
              QStringList({"The Varkunda TZ5 was disconnected. Plug it in again and choose "
                           "Connection > Scan."}));
    EXPECT_FALSE(pedal.context().DeviceLinked);
    EXPECT_FALSE(pedal.main().btnRequest->isEnabled());
    EXPECT_EQ(pedal.main().lblFirmwareVersion->text(), "Device Firmware: 13");
}

// Clicks that would start another exchange do nothing while a request waits, and the
// controls get back exactly the states they had.
TEST(StatusRequestWindow, NoSecondExchangeStartsWhileARequestWaits) {
    PedalEditor pedal;
    pedal.link();
    TformMain& main = pedal.main();
    TformPrint& console = pedal.editor.console();
    main.menuStartFirmwareUpgrade->setEnabled(true);  // a state the guard must give back
    main.btnUpload->setEnabled(false);
    pedal.pedal().injectFault(Fault::Silence);
    const ControlStates before = EnabledControls(main);
    pedal.clearWire();
    bool clicked = false;
    ControlStates during;
    bool runningDuring = false, consoleToolsDuring = true, effectWindowDuring = true;
    pedal.editor.linkEnvironment.onProcessEvents = [&] {
        if (clicked) return;
        clicked = true;
        during = EnabledControls(main);
        runningDuring = pedal.context().PedalExchangeRunning;
        effectWindowDuring = pedal.effects().isEnabled();
        consoleToolsDuring =
            console.btnReadEEPROM->isEnabled() || console.btnEraseEeprom->isEnabled();
        main.btnRequest->click();
        main.menuConnect->trigger();
        main.menuScan->trigger();
        main.menuDisconnect->trigger();
        main.menuEraseSettings->trigger();
        main.menuFirmwareUpgradeMode->trigger();
        QListWidget* list = main.lstEffects;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
    };

    main.btnRequest->click();

    ASSERT_TRUE(clicked);
    EXPECT_TRUE(runningDuring);
    EXPECT_FALSE(consoleToolsDuring);
    EXPECT_FALSE(effectWindowDuring);
    for (const char* name :
         {"Request", "Link", "Scan", "Unlink", "Effect list", "Upload Selected",
          "Load Effect From File", "Upgrade Mode", "Start Firmware Upgrade", "Save Preset",
          "Load Preset", "Erase Settings", "MIDI", "Bypass Status", "Upload Tuning Data"})
        EXPECT_FALSE(during.at(name)) << name;
    EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00}));
    EXPECT_EQ(pedal.editor.dialogs.messages.size(), 1);
    EXPECT_TRUE(pedal.editor.dialogs.questions.isEmpty());
    EXPECT_TRUE(pedal.context().DeviceLinked);
    EXPECT_EQ(EnabledControls(main), before);
    EXPECT_TRUE(console.btnReadEEPROM->isEnabled());
    EXPECT_TRUE(pedal.effects().isEnabled());
    EXPECT_TRUE(pedal.effects().dialDry->isEnabled());
    EXPECT_FALSE(pedal.context().PedalExchangeRunning);
}

// A dial change still waiting for the effect window's send timer goes out before the
// request, not inside its wait, where the request's purge could cut it.
TEST(StatusRequestWindow, PendingDialChangeIsSentBeforeTheRequest) {
    PedalEditor pedal;
    pedal.link();
    pedal.clearWire();
    pedal.effects().dialDry->setAngle(pedal.effects().dialDry->angle() + 30);
    ASSERT_TRUE(pedal.effects().Timer1->isActive());

    pedal.main().btnRequest->click();

    const auto& writes = pedal.pedal().wireLog();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes.size(), 7u);
    EXPECT_EQ(writes[0].bytes[0], 0x01);
    EXPECT_EQ(writes[1].bytes, Bytes({0x02, 0x00}));
    EXPECT_FALSE(pedal.effects().Timer1->isActive());
    EXPECT_TRUE(pedal.editor.dialogs.shown.isEmpty());
}

// What the pedal sends unasked reaches the console through the reply timer; a dump of
// its EEPROM arrives as one block of lines.
TEST(StatusRequestWindow, ReplyTimerLogsAnEepromDump) {
    PedalEditor pedal;
    pedal.link();
    pedal.markConsole();
    ASSERT_TRUE(pedal.context().transport->Send("0C5000000000").ok());

    pedal.main().Timer_USB_ReadTimer();

    const QStringList log = pedal.consoleSinceMark();
    const auto eeprom = pedal.pedal().eeprom(0x50);
    ASSERT_EQ(eeprom.size(), 16384u);
    ASSERT_EQ(log.size(), 1 + 16384);
    EXPECT_EQ(log[0], "num of bytes read: 16385");
    EXPECT_EQ(log[1], "0: " + QString::fromStdString(varkunda::protocol::HexByte(eeprom[0])));
    EXPECT_EQ(log.last(),
              "16383: " + QString::fromStdString(varkunda::protocol::HexByte(eeprom.back())));
    EXPECT_TRUE(pedal.editor.dialogs.shown.isEmpty());
}

}  // namespace
