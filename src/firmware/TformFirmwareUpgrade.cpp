#include "firmware/TformFirmwareUpgrade.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <span>

#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/SendToPedal.h"
#include "app/TformMain.h"
#include "link/D2xxAccess.h"
#include "link/FirmwareUpgrade.h"
#include "platform/Dialogs.h"
#include "platform/ResourceStore.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kBeforeCompletionPause = 10ms;
// "Firmware_" and the number.
constexpr qsizetype kFirmwareNamePrefixLength = 9;

}  // namespace

TformFirmwareUpgrade::TformFirmwareUpgrade(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("Firmware Upgrade"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(196, 140);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect place(QPoint(), size());
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }

    cmbFirmwareChoose = new QComboBox(this);
    cmbFirmwareChoose->setGeometry(8, 8, 179, 32);
    cmbFirmwareChoose->addItems({QStringLiteral("Firmware_12"), QStringLiteral("Firmware_13")});
    cmbFirmwareChoose->setCurrentIndex(-1);
    // The list has no caption of its own in the window; screen readers take its name
    // from a label tied to it (on Linux Qt names a list after its entry otherwise).
    auto* caption = new QLabel(QStringLiteral("Firmware"), this);
    caption->hide();
    caption->setBuddy(cmbFirmwareChoose);
    cmbFirmwareChoose->setAccessibleName(caption->text());
    connect(cmbFirmwareChoose, &QComboBox::currentIndexChanged, this, [this] { FirmwareSelect(); });

    btnUpgradeFirmware = new QPushButton(QStringLiteral("Upgrade Firmware"), this);
    btnUpgradeFirmware->setGeometry(8, 48, 179, 33);
    connect(btnUpgradeFirmware, &QPushButton::clicked, this, [this] { btnUpgradeFirmwareClick(); });

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(8, 94, 179, 35);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
}

void TformFirmwareUpgrade::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    cmbFirmwareChoose->setCurrentIndex(cmbFirmwareChoose->count() - 1);
}

// The read timer runs again; the pedal stays in its bootloader and the upgrade can be
// started again. A run in progress keeps the window.
void TformFirmwareUpgrade::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    if (context_.formMain && context_.DeviceLinked) context_.formMain->Timer_USB_Read->start();
}

void TformFirmwareUpgrade::FirmwareSelect() {
    SelectedFirmwareName = cmbFirmwareChoose->currentText();
    const qsizetype length = SelectedFirmwareName.size();
    if (length >= 10 && length <= 12) {
        bool isNumber = false;
        const int number = SelectedFirmwareName.mid(kFirmwareNamePrefixLength).toInt(&isNumber);
        if (isNumber) SelectedFirmwareNumber = number;
    }
    context_.ConsolePrint(QStringLiteral("Firmware Version(DEC): ") +
                          QString::number(SelectedFirmwareNumber));
    context_.ConsolePrint(SelectedFirmwareName);
}

// The write fills the first half of the bar, the read-back the second: both take about
// as long.
void TformFirmwareUpgrade::ShowProgress(std::size_t done, std::size_t total) {
    ProgressBar1->setMaximum(static_cast<int>(2 * total));
    ProgressBar1->setValue(static_cast<int>(done));
}

// Runs to the end without asking. Any failure stops it with one message; the pedal then
// stays in its bootloader and a click starts again from the erase.
void TformFirmwareUpgrade::btnUpgradeFirmwareClick() {
    if (running_ || !context_.transport) return;
    const auto image = context_.resources.find(SelectedFirmwareName);
    if (!image) {
        context_.dialogs.showMessage(QStringLiteral("Error loading resource: ") +
                                     SelectedFirmwareName);
        return;
    }
    context_.ConsolePrint(QStringLiteral("Firmware num of bytes: ") +
                          QString::number(image->size()));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(image->data()),
                                              static_cast<std::size_t>(image->size()));
    varkunda::link::FirmwareUpgradeHooks hooks;
    hooks.written = [this](std::size_t done, std::size_t total) { ShowProgress(done, total); };
    hooks.verified = [this](std::size_t done, std::size_t total) {
        ShowProgress(total + done, total);
    };
    // Complete only once the bootloader has taken Go: a refused start is a failure.
    hooks.beforeGo = [this] { PauseForPedal(context_, kBeforeCompletionPause); };

    varkunda::link::BootloaderResult result;
    {
        running_ = true;
        cmbFirmwareChoose->setEnabled(false);  // the image chosen is the image written
        PedalExchangeGuard guard(context_);
        // The run's own message says what failed; no second report from the driver calls.
        const bool reportsWereOn = context_.device.ErrorReportsOn;
        context_.device.ErrorReportsOn = false;
        result = varkunda::link::RunFirmwareUpgrade(
            *context_.transport, bytes, static_cast<unsigned>(SelectedFirmwareNumber), hooks);
        context_.device.ErrorReportsOn = reportsWereOn;
        cmbFirmwareChoose->setEnabled(true);
        running_ = false;
    }
    if (result) {
        const QString text =
            QStringLiteral("Firmware upgrade failed: ") +
            QString::fromStdString(varkunda::link::BootloaderErrorText(*result)) +
            QStringLiteral(
                " The pedal stays in its bootloader; click Upgrade Firmware to start "
                "again from the erase.");
        context_.ConsolePrint(text);
        context_.dialogs.showMessage(text);
        return;
    }
    context_.dialogs.showMessage(
        QStringLiteral("Firmware Upgrade Complete, device will now restart"));
    ProgressBar1->setValue(0);
    hide();
    if (context_.formMain) context_.formMain->FirmwareUpgradeFinished();
}
