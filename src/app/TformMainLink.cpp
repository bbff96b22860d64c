// The main window's device link: finding, linking and unlinking the pedal, the status
// request, the reply timer and the effect list.
#include <QLabel>
#include <QListWidget>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "effects/TformFXsettings.h"
#include "link/D2xxAccess.h"

void TformMain::ReadDeviceIdentity() {
    auto& device = context_.device;
    device.GetFTDeviceCount();
    for (std::uint32_t index = 0; index < device.DeviceCount; ++index) {
        device.GetFTDeviceSerialNo(index);
        const QString serial = QString::fromLatin1(device.ListResult);
        menuSerialNumber->setText(menuSerialNumber->text() + serial);
        context_.DeviceSerial = serial;
        device.GetFTDeviceDescription(index);
        lblDeviceName->setText(QString::fromLatin1(device.ListResult));
    }
}

void TformMain::OpenEffectWindow() {
    TformFXsettings* window = context_.formFXsettings;
    if (!window) return;
    if (window->isVisible()) window->close();
    const QRect frame = frameGeometry();
    window->move(frame.left() + frame.width(), frame.top());
    window->show();
    window->setWindowTitle(context_.SelectedEffectName);
    window->EnableWindowControls(context_.DeviceLinked);
}

void TformMain::menuScanClick() {}

void TformMain::ConnectOnClick() {}

void TformMain::Link() {}

void TformMain::menuDisconnectClick() {}

void TformMain::btnRequestClick() {}

void TformMain::RequestDeviceStatus() {}

void TformMain::Timer_USB_ReadTimer() {}

void TformMain::effetto_cliccato(QListWidgetItem*) {}

void TformMain::move_up_or_down(int&, Qt::KeyboardModifiers) {}

void TformMain::GetResourceFile() {}
