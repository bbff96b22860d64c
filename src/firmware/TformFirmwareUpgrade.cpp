#include "firmware/TformFirmwareUpgrade.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/EditorContext.h"

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
}
