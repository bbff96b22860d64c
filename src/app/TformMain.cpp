#include "app/TformMain.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

#include "app/BuiltinResources.h"
#include "app/EditorContext.h"
#include "app/Fonts.h"
#include "app/SettingsFiles.h"
#include "app/Styles.h"
#include "app/WindowPlacement.h"
#include "app/WrappingButton.h"
#include "console/TformPrint.h"
#include "effects/EditHistory.h"
#include "effects/TformFXsettings.h"
#include "firmware/FirmwareNumbers.h"
#include "link/D2xxAccess.h"

namespace {
constexpr int kClientWidth = 356;
constexpr int kClientHeight = 228;
constexpr int kMenuBarHeight = 24;
constexpr int kDesignLeft = 37;
constexpr int kDesignTop = 31;
const QString kNoDeviceFound = QStringLiteral("No device found");

// The algorithm number used when the effect list's first entry names none.
constexpr unsigned kBuiltinAlgorithmNumber = 14;

// Components are placed in client coordinates, which include the menu bar.
QRect clientRect(int x, int y, int width, int height) {
    return QRect(x, y - kMenuBarHeight, width, height);
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const QRect& place, bool wrapped) {
    QPushButton* button =
        wrapped ? new WrappingButton(text, parent) : new QPushButton(text, parent);
    button->setGeometry(place);
    return button;
}

QAction* addItem(QMenu* menu, const QString& text, bool enabled = true) {
    QAction* action = menu->addAction(text);
    action->setEnabled(enabled);
    return action;
}

QAction* addCheckItem(QMenu* menu, const QString& text, bool checked) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

// Connects a check item whose mark belongs to its handler: the toggle Qt makes on a
// click is undone before the handler runs.
template <typename Handler>
void connectWithoutAutoCheck(QAction* action, QObject* receiver, Handler handler) {
    QObject::connect(action, &QAction::triggered, receiver, [action, handler](bool checked) {
        if (action->isCheckable()) action->setChecked(!checked);
        handler();
    });
}
}  // namespace

TformMain::TformMain(EditorContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), controlStates_(context) {
    context_.formMain = this;
    setWindowTitle(QStringLiteral("Varkunda Editor"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    PlaceAsDesigned(*this, QPoint(kDesignLeft, kDesignTop));
    createControls();
    createMenus();
    createTimers();
    connectHandlers();
    bindControls();
    FormCreate();
    context_.DeviceLost = [this](const QString& reason) { DeviceLost(reason); };
}

TformMain::~TformMain() {
    if (context_.formMain != this) return;
    context_.formMain = nullptr;
    context_.DeviceLost = [](const QString&) {};
}

void TformMain::createControls() {
    SetTextFont(*this, text_size::kWindow);
    auto* client = new QWidget(this);
    setCentralWidget(client);

    lblDeviceName = makeLabel(client, kNoDeviceFound, clientRect(9, 32, 174, 17));
    lblFirmwareVersion =
        makeLabel(client, QStringLiteral("Device Firmware:"), clientRect(9, 48, 144, 20));
    lblFirmwareVersion->setToolTip(
        QStringLiteral("Shows which firmware is currently installed on the pedal"));
    lblAlgorithmVersion =
        makeLabel(client, QStringLiteral("Device Algorithm:"), clientRect(9, 66, 133, 17));
    lblStatus = makeLabel(client, QStringLiteral("Status: "), clientRect(9, 84, 174, 17));

    btnUpload =
        makeButton(client, QStringLiteral("Upload Selected"), clientRect(9, 103, 80, 33), true);
    btnRequest = makeButton(client, QStringLiteral("Request"), clientRect(97, 103, 86, 33), false);
    btnSaveParameters =
        makeButton(client, QStringLiteral("Save Parameters"), clientRect(8, 144, 81, 33), true);
    btnAssign = makeButton(client, QStringLiteral("Assign"), clientRect(97, 144, 86, 33), false);
    btnSetFootswitchMode =
        makeButton(client, QStringLiteral("Set Footswitch Mode"), clientRect(9, 185, 80, 31), true);
    btnSetTuning =
        makeButton(client, QStringLiteral("Set Tuning"), clientRect(97, 185, 86, 31), false);
    SetTextFont(*btnSetFootswitchMode, text_size::kSmall);
    SetTextFont(*btnSetTuning, text_size::kSmall);

    lstEffects = new QListWidget(client);
    lstEffects->setGeometry(clientRect(191, 32, 154, 168));
    lstEffects->setAccessibleName(QStringLiteral("Effects"));
    lstEffects->installEventFilter(this);
}

void TformMain::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    bar->setFixedHeight(kMenuBarHeight);
    // Six titles fill the fixed width only with the items set closer than the looks'
    // own spacing.
    bar->setStyleSheet(QStringLiteral("QMenuBar { spacing: 2px; }"));

    // The & only underlines the Alt key of each menu; F10 opens the first one.
    menuFile = bar->addMenu(QStringLiteral("&File"));
    menuLoadPreset = addItem(menuFile, QStringLiteral("Load Preset"));
    menuSavePreset = addItem(menuFile, QStringLiteral("Save Preset"));
    menuLoadAlgorithmFromFile = addItem(menuFile, QStringLiteral("Load Effect From File"));

    menuEdit = bar->addMenu(QStringLiteral("&Edit"));
    if (EditHistory* history = context_.editHistory) {
        menuEdit->addActions({history->undoAction(), history->redoAction()});
        menuEdit->addSeparator();
        menuEdit->addActions({history->keepAAction(), history->compareAction()});
    }

    menuConnection = bar->addMenu(QStringLiteral("&Connection"));
    menuScan = addItem(menuConnection, QStringLiteral("Scan"));
    menuConnect = addItem(menuConnection, QStringLiteral("Link"));
    menuDisconnect = addItem(menuConnection, QStringLiteral("Unlink"));

    menuSettings = bar->addMenu(QStringLiteral("&Settings"));
    menuLook = menuSettings->addMenu(QStringLiteral("Look"));
    menuMIDI = menuSettings->addMenu(QStringLiteral("MIDI"));
    menuMIDIchannel = menuMIDI->addMenu(QStringLiteral("Channel"));
    menuUploadTuningsData = addItem(menuSettings, QStringLiteral("Upload Tuning Data"));
    menuReportUSBErrors = addCheckItem(menuSettings, QStringLiteral("Report USB Errors"), false);
    menuInstrumentRange = menuSettings->addMenu(QStringLiteral("Instrument Range"));
    menuStandard = addCheckItem(
        menuInstrumentRange,
        QStringLiteral("Standard: Guitar or other instrument with similar range"), false);
    menuLow =
        addCheckItem(menuInstrumentRange,
                     QStringLiteral("Low: Bass Guitar, Baritone, tuned down guitar etc."), false);
    instrumentRangeGroup_ = new QActionGroup(this);
    instrumentRangeGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    instrumentRangeGroup_->addAction(menuStandard);
    instrumentRangeGroup_->addAction(menuLow);
    menuBypassStatus = menuSettings->addMenu(QStringLiteral("Bypass Status"));
    menuStoreBypassStatus =
        addCheckItem(menuBypassStatus, QStringLiteral("Store Bypass Status"), false);
    menuDoNotStoreBypassStatus =
        addCheckItem(menuBypassStatus, QStringLiteral("Do Not Store Bypass Status"), true);
    bypassStatusGroup_ = new QActionGroup(this);
    bypassStatusGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    bypassStatusGroup_->addAction(menuStoreBypassStatus);
    bypassStatusGroup_->addAction(menuDoNotStoreBypassStatus);

    menuFirmwareUpgrade = bar->addMenu(QStringLiteral("Firmware &Upgrade"));
    menuFirmwareUpgradeMode =
        addCheckItem(menuFirmwareUpgrade, QStringLiteral("Upgrade Mode"), false);
    menuStartFirmwareUpgrade =
        addItem(menuFirmwareUpgrade, QStringLiteral("Start Firmware Upgrade"));
    menuEraseSettings = addItem(menuFirmwareUpgrade, QStringLiteral("Erase Settings"));

    menuInfo = bar->addMenu(QStringLiteral("&Info"));
    menuSupport = addItem(menuInfo, QStringLiteral("Support"));
    menuAppVersion = addItem(menuInfo, QStringLiteral("Editor Version: "), false);
    menuNewAppVersion = addItem(menuInfo, QStringLiteral("New version available:"), false);
    menuUpdateNow = addItem(menuInfo, QStringLiteral("Update Now"), false);
    menuShowUpdateMsg = addCheckItem(menuInfo, QStringLiteral("Show Update Message"), false);
    menuSerialNumber = addItem(menuInfo, QStringLiteral("Device Serial: "), false);

    auto* openFirstMenu = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openFirstMenu, &QShortcut::activated, this, [bar] {
        if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().constFirst());
    });
}

void TformMain::createTimers() {
    const auto makeTimer = [this](int interval) {
        auto* timer = new QTimer(this);
        timer->setInterval(interval);
        return timer;
    };
    Timer_USB_Read = makeTimer(50);
    UploadCheckTimer = makeTimer(5000);
    TimerCheckWebVersion = makeTimer(1000);
    NetHTTPClient1 = context_.http;
}

void TformMain::connectHandlers() {
    const auto click = [this](QAction* item, void (TformMain::*handler)()) {
        connect(item, &QAction::triggered, this, handler);
    };
    click(menuLoadPreset, &TformMain::menuLoadPresetClick);
    click(menuSavePreset, &TformMain::menuSavePresetClick);
    click(menuLoadAlgorithmFromFile, &TformMain::menuLoadAlgorithmFromFileClick);
    click(menuScan, &TformMain::menuScanClick);
    click(menuConnect, &TformMain::ConnectOnClick);
    click(menuDisconnect, &TformMain::menuDisconnectClick);
    click(menuUploadTuningsData, &TformMain::menuUploadTuningsDataClick);
    click(menuReportUSBErrors, &TformMain::menuReportUSBErrorsClick);
    click(menuStandard, &TformMain::menuStandardClick);
    click(menuLow, &TformMain::menuLowClick);
    click(menuStoreBypassStatus, &TformMain::menuStoreBypassStatusClick);
    click(menuDoNotStoreBypassStatus, &TformMain::menuDoNotStoreBypassStatusClick);
    connectWithoutAutoCheck(menuFirmwareUpgradeMode, this,
                            [this] { menuFirmwareUpgradeModeClick(); });
    click(menuStartFirmwareUpgrade, &TformMain::menuStartFirmwareUpgradeClick);
    click(menuEraseSettings, &TformMain::menuEraseSettingsClick);
    click(menuSupport, &TformMain::menuSupportClick);
    click(menuUpdateNow, &TformMain::menuUpdateNowClick);
    click(menuShowUpdateMsg, &TformMain::menuShowUpdateMsgClick);
    connect(menuInfo, &QMenu::aboutToShow, this, &TformMain::menuInfoClick);

    connect(btnUpload, &QPushButton::clicked, this, &TformMain::btnUploadClick);
    connect(btnRequest, &QPushButton::clicked, this, &TformMain::btnRequestClick);
    connect(btnSaveParameters, &QPushButton::clicked, this, &TformMain::btnSaveParametersClick);
    connect(btnAssign, &QPushButton::clicked, this, &TformMain::btnAssignClick);
    connect(btnSetFootswitchMode, &QPushButton::clicked, this,
            &TformMain::btnSetFootswitchModeClick);
    connect(btnSetTuning, &QPushButton::clicked, this, &TformMain::btnSetTuningClick);
    connect(lstEffects, &QListWidget::itemClicked, this, &TformMain::effetto_cliccato);

    connect(Timer_USB_Read, &QTimer::timeout, this, &TformMain::Timer_USB_ReadTimer);
    connect(UploadCheckTimer, &QTimer::timeout, this, &TformMain::UploadCheckTimerTimer);
    connect(TimerCheckWebVersion, &QTimer::timeout, this,
            &TformMain::checkmostrecentversiononwebsite);
}

// The start states of these controls are those of the state start-up enters.
void TformMain::bindControls() {
    const std::pair<Control, QAction*> items[] = {
        {Control::Scan, menuScan},
        {Control::Link, menuConnect},
        {Control::Unlink, menuDisconnect},
        {Control::UpgradeMode, menuFirmwareUpgradeMode},
        {Control::StartFirmwareUpgrade, menuStartFirmwareUpgrade},
        {Control::EraseSettings, menuEraseSettings},
        {Control::LoadPreset, menuLoadPreset},
        {Control::SavePreset, menuSavePreset},
        {Control::LoadEffectFromFile, menuLoadAlgorithmFromFile},
        {Control::UploadTuningData, menuUploadTuningsData},
    };
    for (const auto& [control, item] : items) controlStates_.bind(control, item);
    const std::pair<Control, QWidget*> widgets[] = {
        {Control::UploadSelected, btnUpload},
        {Control::Request, btnRequest},
        {Control::SaveParameters, btnSaveParameters},
        {Control::Assign, btnAssign},
        {Control::SetFootswitchMode, btnSetFootswitchMode},
        {Control::SetTuning, btnSetTuning},
        {Control::InstrumentRange, menuInstrumentRange},
        {Control::BypassStatus, menuBypassStatus},
        {Control::EffectList, lstEffects},
        {Control::MIDI, menuMIDI},
    };
    for (const auto& [control, widget] : widgets) controlStates_.bind(control, widget);
    if (EditHistory* history = context_.editHistory)
        controlStates_.bind(Control::EditHistory, history->actions());
    controlStates_.bindFocusWindow(this);
    controlStates_.setPedalValuesCheck([this] { return WindowHoldsPedalValues(); });
}

void TformMain::FormCreate() {
    CreateSettingsFolder(context_, settings::kMakerFolder);
    CreateSettingsSubfolder(context_, settings::kMakerFolder, settings::kProductFolder);
    LoadStartupSettings();
    context_.device.ErrorReportsOn = context_.ReportErrorsPreference;
    ReadDeviceIdentity();
    context_.device.SetLineParameters(varkunda::link::LineMode::NormalLine);
    const bool noDevice =
        lblDeviceName->text().isEmpty() || lblDeviceName->text() == kNoDeviceFound;
    controlStates_.enter(noDevice ? EditorState::NoDevice : EditorState::Unlinked);
    context_.BootloaderMode = false;

    lstEffects->clear();
    if (LoadResourceLines(context_, QStringLiteral("octave"))) FillEffectList();
    PrepareWebVersionCheck();
    CurrentAppVersionText = GetAppVersionText();
    menuAppVersion->setText(menuAppVersion->text() + QStringLiteral(" ") + CurrentAppVersionText);
    BuildLookMenu();
    ApplySavedStyle(context_);
    BuildMIDIChannelMenu();

    const QString firstEntry = lstEffects->count() > 0 ? lstEffects->item(0)->text() : QString();
    if (auto number = AlgorithmNumberOfEffectName(firstEntry)) {
        context_.RequiredAlgorithmNumber = *number;
    } else {
        context_.RequiredAlgorithmNumber = kBuiltinAlgorithmNumber;
        context_.ConsolePrint(QStringLiteral("The effect list's first entry \"%1\" names no "
                                             "algorithm number; required algorithm: %2")
                                  .arg(firstEntry)
                                  .arg(kBuiltinAlgorithmNumber));
    }
    context_.RequiredFirmware = kFirmwareNumbers.back();
}

void TformMain::LoadStartupSettings() {
    const QString showUpdate =
        ReadSettingFile(context_, settings::kShowUpdateMessageFile, QStringLiteral("YES"));
    if (showUpdate == QStringLiteral("YES")) context_.ShowUpdateMsgAtStartup = true;
    if (showUpdate == QStringLiteral("NO")) context_.ShowUpdateMsgAtStartup = false;
    menuShowUpdateMsg->setChecked(context_.ShowUpdateMsgAtStartup);

    const QString reportErrors =
        ReadSettingFile(context_, settings::kReportUsbErrorsFile, QStringLiteral("YES"));
    if (reportErrors == QStringLiteral("YES")) context_.ReportErrorsPreference = true;
    if (reportErrors == QStringLiteral("NO")) context_.ReportErrorsPreference = false;
    menuReportUSBErrors->setChecked(context_.ReportErrorsPreference);
}

void TformMain::FillEffectList() {
    for (const QString& line : context_.AlgorithmImageText) lstEffects->addItem(line);
}

void TformMain::BuildLookMenu() {
    for (int i = 0; i < kLookItemCount; ++i) {
        QAction* item = menuLook->addAction(QString::number(i));
        LookItems.append(item);
        connect(item, &QAction::triggered, this, [this, item] { menuLookClickItem(item); });
    }
}

void TformMain::menuLookClickItem(QObject* Sender) {
    const int index = std::max<qsizetype>(0, LookItems.indexOf(qobject_cast<QAction*>(Sender)));
    ApplyStyle(context_.resources, index);
    const QString path = QDir(MakerFolderPath(context_.folders)).filePath(settings::kStyleFile);
    SaveSettingFile(context_, path, QString::number(index));
}

void TformMain::BuildMIDIChannelMenu() {
    constexpr int kChannelCount = 16;
    for (int channel = 0; channel <= kChannelCount; ++channel) {
        const QString caption = channel == 0 ? QStringLiteral("OMNI") : QString::number(channel);
        QAction* item = addCheckItem(menuMIDIchannel, caption, false);
        MIDIChannelItems.append(item);
        connectWithoutAutoCheck(item, this, [this, item] { menuMIDIchannelsClickItem(item); });
    }
}

void TformMain::ShowSent(const QString& what, SendOutcome outcome) {
    const QString text = SentStatusText(what, outcome);
    if (!text.isEmpty()) lblStatus->setText(text);
}

void TformMain::EnableUSBobjects(bool status) {
    controlStates_.setGroup(ControlGroup::DeviceControls, status);
}

void TformMain::EnableMainButtons(bool enabled) {
    controlStates_.setGroup(ControlGroup::MainButtons, enabled);
}

bool TformMain::WindowHoldsPedalValues() const {
    return pedalValuesRead_ && context_.formFXsettings &&
           context_.formFXsettings->HoldsPedalValues();
}

void TformMain::FormKeyDown(int& Key, Qt::KeyboardModifiers Shift) {
    const bool ctrlAndShift =
        Shift.testFlag(Qt::ControlModifier) && Shift.testFlag(Qt::ShiftModifier);
    if (!ctrlAndShift || Key != Qt::Key_P) return;
    if (TformPrint* console = context_.formPrint) {
        console->show();
        console->raise();
    }
    Key = 0;
}

void TformMain::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    FormKeyDown(key, event->modifiers());
    if (key == 0) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TformMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstEffects && event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        int key = keyEvent->key();
        move_up_or_down(key, keyEvent->modifiers());
        if (key == 0) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
