// Start-up of the editor: preference folders and files, the main window's controls
// and menus, and the six windows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "EditorHarness.h"
#include "app/Styles.h"
#include "effects/TformFXsettings.h"
#include "firmware/TformFirmwareUpgrade.h"
#include "link/D2xxAccess.h"
#include "update/TformNewVersionMsg.h"
#include "update/TformUpdateUpdater.h"

namespace {

QString styleSheetText(int index) {
    return QString::fromUtf8(*QtResourceStore().find(StyleResourceName(index)));
}

TEST(Startup, FirstStartCreatesFoldersAndPreferenceFilesHoldingYes) {
    EditorHarness editor;
    ApplyStyle(editor.resources, 3);
    editor.start();

    EXPECT_TRUE(QFileInfo(ProductFolderPath(editor.folders)).isDir());
    EXPECT_EQ(EditorHarness::readFile(editor.productFile("ShowMessageVersionAtStartup.txt")),
              QByteArray("YES"));
    EXPECT_EQ(EditorHarness::readFile(editor.productFile("ReportUSBErrors.txt")),
              QByteArray("YES"));
    EXPECT_FALSE(QFileInfo::exists(editor.makerFile("style.txt")));
    EXPECT_TRUE(editor.main().menuShowUpdateMsg->isChecked());
    EXPECT_TRUE(editor.main().menuReportUSBErrors->isChecked());
    EXPECT_TRUE(editor.context().device.ErrorReportsOn);
    EXPECT_EQ(AppliedStyleIndex(), 0);
    EXPECT_EQ(qApp->styleSheet(), styleSheetText(0));
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
    EXPECT_TRUE(editor.consoleLines().isEmpty());
}

struct PreferenceCase {
    QByteArray content;
    bool showUpdateMessage;  // "ShowMessageVersionAtStartup.txt": unknown content means on
    bool reportUsbErrors;    // "ReportUSBErrors.txt": unknown content means off
};

class StartupPreferences : public ::testing::TestWithParam<PreferenceCase> {};

TEST_P(StartupPreferences, FileContentSetsPreferenceAndCheckMarkAndStaysUnchanged) {
    const PreferenceCase& c = GetParam();
    EditorHarness editor;
    const QString showFile = editor.productFile("ShowMessageVersionAtStartup.txt");
    const QString reportFile = editor.productFile("ReportUSBErrors.txt");
    EditorHarness::writeFile(showFile, c.content);
    EditorHarness::writeFile(reportFile, c.content);
    editor.start();

    EXPECT_EQ(editor.context().ShowUpdateMsgAtStartup, c.showUpdateMessage);
    EXPECT_EQ(editor.main().menuShowUpdateMsg->isChecked(), c.showUpdateMessage);
    EXPECT_EQ(editor.context().ReportErrorsPreference, c.reportUsbErrors);
    EXPECT_EQ(editor.main().menuReportUSBErrors->isChecked(), c.reportUsbErrors);
    EXPECT_EQ(editor.context().device.ErrorReportsOn, c.reportUsbErrors);
    EXPECT_EQ(EditorHarness::readFile(showFile), c.content);
    EXPECT_EQ(EditorHarness::readFile(reportFile), c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, StartupPreferences,
    ::testing::Values(PreferenceCase{"YES", true, true}, PreferenceCase{"NO", false, false},
                      PreferenceCase{"yes", true, false}, PreferenceCase{"YES\r\n", true, false},
                      PreferenceCase{" NO", true, false}, PreferenceCase{"", true, false},
                      PreferenceCase{"\xEF\xBB\xBFNO", false, false},
                      PreferenceCase{QByteArrayLiteral("\xFF\xFEN\0O\0"), false, false},
                      PreferenceCase{"N\xD6", true, false}));

TEST(Startup, UnwritableProductFolderUsesDefaultsAfterOneMessage) {
    EditorHarness editor;
    // A file where the product folder should be: neither folder nor files can be made.
    EditorHarness::writeFile(ProductFolderPath(editor.folders), "not a folder");
    editor.start();

    ASSERT_EQ(editor.dialogs.messages.size(), 1);
    EXPECT_TRUE(editor.dialogs.messages[0].startsWith("Error creating subfolder: "));
    EXPECT_TRUE(editor.context().ShowUpdateMsgAtStartup);
    EXPECT_TRUE(editor.context().ReportErrorsPreference);
    EXPECT_EQ(EditorHarness::readFile(ProductFolderPath(editor.folders)),
              QByteArray("not a folder"));
    const QStringList lines = editor.consoleLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("ShowMessageVersionAtStartup.txt"));
    EXPECT_TRUE(lines[1].contains("ReportUSBErrors.txt"));
    EXPECT_EQ(editor.main().lstEffects->count(), 1);
}

TEST(Startup, UnreadablePreferenceFileGivesItsDefaultAndIsLeftAlone) {
    EditorHarness editor;
    EditorHarness::writeFile(editor.productFile("ShowMessageVersionAtStartup.txt"), "NO");
    QDir().mkpath(editor.productFile("ReportUSBErrors.txt"));  // a folder in the file's place
    editor.start();

    EXPECT_FALSE(editor.context().ShowUpdateMsgAtStartup);
    EXPECT_TRUE(editor.context().ReportErrorsPreference);
    EXPECT_TRUE(QFileInfo(editor.productFile("ReportUSBErrors.txt")).isDir());
    EXPECT_TRUE(editor.dialogs.shown.isEmpty());
    ASSERT_EQ(editor.consoleLines().size(), 1);
    EXPECT_TRUE(editor.consoleLines()[0].contains("ReportUSBErrors.txt"));
}

TEST(Startup, DeviceControlsStartInTheirStartStates) {
    EditorHarness editor;
    editor.start();
    TformMain& m = editor.main();

    for (QPushButton* button : {m.btnUpload, m.btnRequest, m.btnSaveParameters, m.btnAssign,
                                m.btnSetFootswitchMode, m.btnSetTuning})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    const std::pair<QAction*, bool> items[] = {
        {m.menuLoadPreset, false},
        {m.menuSavePreset, false},
        {m.menuLoadAlgorithmFromFile, false},
        {m.menuScan, true},
        {m.menuConnect, false},
        {m.menuDisconnect, false},
        {m.menuMIDI->menuAction(), false},
        {m.menuUploadTuningsData, false},
        {m.menuReportUSBErrors, true},
        {m.menuInstrumentRange->menuAction(), false},
        {m.menuBypassStatus->menuAction(), false},
        {m.menuLook->menuAction(), true},
        {m.menuFirmwareUpgradeMode, true},
        {m.menuStartFirmwareUpgrade, false},
        {m.menuEraseSettings, false},
        {m.menuSupport, true},
        {m.menuAppVersion, false},
        {m.menuNewAppVersion, false},
        {m.menuUpdateNow, false},
        {m.menuShowUpdateMsg, true},
        {m.menuSerialNumber, false},
    };
    for (const auto& [item, enabled] : items)
        EXPECT_EQ(item->isEnabled(), enabled) << item->text().toStdString();
    EXPECT_TRUE(m.lstEffects->isEnabled());
    EXPECT_FALSE(m.Timer_USB_Read->isActive());
    EXPECT_FALSE(m.UploadCheckTimer->isActive());
    EXPECT_EQ(m.Timer_USB_Read->interval(), 50);
    EXPECT_EQ(m.UploadCheckTimer->interval(), 5000);
    EXPECT_EQ(m.TimerCheckWebVersion->interval(), 1000);
    EXPECT_EQ(editor.context().RequiredFirmware, 13u);
    EXPECT_EQ(editor.context().RequiredAlgorithmNumber, 14u);
    EXPECT_FALSE(editor.context().BootloaderMode);
}

QStringList itemTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) texts.append(action->text());
    return texts;
}

TEST(Startup, MenuTreeHoldsEveryItemWithItsTextAndCheckMarks) {
    EditorHarness editor;
    editor.start();
    TformMain& m = editor.main();

    QStringList topMenus;
    for (const QAction* action : m.menuBar()->actions())
        topMenus.append(QString(action->text()).remove(u'&'));  // the & marks the Alt key
    EXPECT_EQ(topMenus,
              QStringList({"File", "Edit", "Connection", "Settings", "Firmware Upgrade", "Info"}));
    EXPECT_EQ(itemTexts(m.menuFile),
              QStringList({"Load Preset", "Save Preset", "Load Effect From File"}));
    EXPECT_EQ(itemTexts(m.menuConnection), QStringList({"Scan", "Link", "Unlink"}));
    EXPECT_EQ(itemTexts(m.menuSettings),
              QStringList({"Look", "MIDI", "Upload Tuning Data", "Report USB Errors",
                           "Instrument Range", "Bypass Status"}));
    EXPECT_EQ(itemTexts(m.menuLook), QStringList({"0", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(itemTexts(m.menuMIDI), QStringList({"Channel"}));
    QStringList channels{"OMNI"};
    for (int channel = 1; channel <= 16; ++channel) channels.append(QString::number(channel));
    EXPECT_EQ(itemTexts(m.menuMIDIchannel), channels);
    EXPECT_EQ(itemTexts(m.menuInstrumentRange),
              QStringList({"Standard: Guitar or other instrument with similar range",
                           "Low: Bass Guitar, Baritone, tuned down guitar etc."}));
    EXPECT_EQ(itemTexts(m.menuBypassStatus),
              QStringList({"Store Bypass Status", "Do Not Store Bypass Status"}));
    EXPECT_EQ(itemTexts(m.menuFirmwareUpgrade),
              QStringList({"Upgrade Mode", "Start Firmware Upgrade", "Erase Settings"}));
    EXPECT_EQ(itemTexts(m.menuInfo), QStringList({"Support", "Editor Version:  1.0",
                                                  "New version available:", "Update Now",
                                                  "Show Update Message", "Device Serial: "}));

    EXPECT_FALSE(m.menuStoreBypassStatus->isChecked());
    EXPECT_TRUE(m.menuDoNotStoreBypassStatus->isChecked());
    EXPECT_FALSE(m.menuStandard->isChecked());
    EXPECT_FALSE(m.menuLow->isChecked());
    EXPECT_FALSE(m.menuFirmwareUpgradeMode->isChecked());
    for (const QAction* channel : m.MIDIChannelItems) EXPECT_FALSE(channel->isChecked());
}

TEST(Startup, MainWindowHasItsDesignedShapeAndContents) {
    EditorHarness editor;
    editor.start();
    TformMain& m = editor.main();
    editor.app().show();

    EXPECT_EQ(m.windowTitle(), "Varkunda Editor");
    EXPECT_EQ(m.size(), QSize(356, 228));
    EXPECT_EQ(m.minimumSize(), m.maximumSize());
    EXPECT_FALSE(m.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(m.pos(), QPoint(37, 31));
    EXPECT_EQ(m.menuBar()->height(), 24);
    EXPECT_EQ(m.lblDeviceName->text(), "No device found");
    EXPECT_EQ(m.lblFirmwareVersion->toolTip(),
              "Shows which firmware is currently installed on the pedal");
    EXPECT_EQ(m.lstEffects->mapTo(&m, QPoint(0, 0)), QPoint(191, 32));
    EXPECT_EQ(m.btnSetTuning->mapTo(&m, QPoint(0, 0)), QPoint(97, 185));
    EXPECT_EQ(m.btnUpload->text(), "Upload Selected");
    ASSERT_EQ(m.lstEffects->count(), 1);
    EXPECT_EQ(m.lstEffects->item(0)->text(), "Varkunda TZ5 0014");
    EXPECT_EQ(m.OpenDialog1Filter, "Dat files (*.dat)");
}

TEST(Startup, SixWindowsExistHiddenWithTheirCaptionsAndSizes) {
    EditorHarness editor;
    EditorApplication& app = editor.start();
    const EditorContext& context = editor.context();

    EXPECT_EQ(context.formMain, &app.formMain());
    EXPECT_EQ(context.formFirmwareUpgrade, &app.formFirmwareUpgrade());
    EXPECT_EQ(context.formPrint, &app.formPrint());
    EXPECT_EQ(context.formFXsettings, &app.formFXsettings());
    EXPECT_EQ(context.formNewVersionMsg, &app.formNewVersionMsg());
    EXPECT_EQ(context.formUpdateUpdater, &app.formUpdateUpdater());
    const std::tuple<QWidget*, QString, QSize> windows[] = {
        {&app.formFirmwareUpgrade(), "Firmware Upgrade", {196, 140}},
        {&app.formPrint(), "Debug Console", {506, 676}},
        {&app.formFXsettings(), "Form1", {440, 432}},
        {&app.formNewVersionMsg(), "New Version", {268, 151}},
    };
    for (const auto& [window, caption, size] : windows) {
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(window->size(), size) << caption.toStdString();
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
    }
    EXPECT_EQ(app.formUpdateUpdater().windowTitle(), "UpdateUpdater");
    // Placed as designed, moved left only as far as the screen needs.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(app.formPrint().pos(),
              QPoint(std::min(1075, screen.right() + 1 - 506), screen.top()));
}

TEST(Startup, ClosingASecondaryWindowOnlyHidesIt) {
    EditorHarness editor;
    editor.start();
    TformPrint& console = editor.console();
    console.show();
    console.close();
    EXPECT_FALSE(console.isVisible());
    editor.context().ConsolePrint("still here");
    EXPECT_EQ(editor.consoleLines(), QStringList({"still here"}));
}

TEST(Startup, ClosingTheMainWindowEndsTheRunEvenWithOtherWindowsOpen) {
    EditorHarness editor;
    editor.start();
    editor.app().show();
    editor.console().show();
    bool timedOut = false;
    QTimer::singleShot(0, &editor.main(), [&editor] { editor.main().close(); });
    // Ends with the test, so it cannot fire in a later one.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::quit();
    });
    watchdog.start(3000);
    QApplication::exec();
    EXPECT_FALSE(timedOut);
}

TEST(Startup, EnableUsbObjectsSwitchesTheDeviceControls) {
    EditorHarness editor;
    editor.start();
    TformMain& m = editor.main();

    m.EnableUSBobjects(true);
    for (QWidget* control : std::initializer_list<QWidget*>{
             m.btnUpload, m.btnSaveParameters, m.btnAssign, m.btnSetFootswitchMode, m.btnSetTuning,
             m.btnRequest, m.lstEffects})
        EXPECT_TRUE(control->isEnabled());
    for (QAction* item : {m.menuInstrumentRange->menuAction(), m.menuBypassStatus->menuAction(),
                          m.menuLoadPreset, m.menuSavePreset, m.menuLoadAlgorithmFromFile,
                          m.menuUploadTuningsData, m.menuMIDI->menuAction()})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    EXPECT_FALSE(m.menuDisconnect->isEnabled());

    m.EnableMainButtons(false);
    for (QPushButton* button :
         {m.btnRequest, m.btnSaveParameters, m.btnAssign, m.btnSetFootswitchMode, m.btnSetTuning})
        EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(m.btnUpload->isEnabled());

    m.EnableUSBobjects(false);
    EXPECT_FALSE(m.lstEffects->isEnabled());
    EXPECT_FALSE(m.menuMIDI->isEnabled());
}

TEST(Startup, OpenEffectWindowPlacesItBesideTheMainWindowWithTheEffectName) {
    EditorHarness editor;
    editor.start();
    TformMain& m = editor.main();
    editor.app().show();
    editor.context().SelectedEffectName = "Varkunda TZ5 0014";

    m.OpenEffectWindow();
    m.OpenEffectWindow();

    const TformFXsettings& window = editor.app().formFXsettings();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Varkunda TZ5 0014");
    const QRect main = m.frameGeometry();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(main.left() + main.width(), main.top()));
}

}  // namespace
