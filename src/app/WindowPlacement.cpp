#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void PlaceAsDesigned(QWidget& window, QPoint designed) {
    const QScreen* screen = QGuiApplication::screenAt(designed);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window.move(designed);
        return;
    }
    const QRect area = screen->availableGeometry();
    const int x = std::max(area.left(), std::min(designed.x(), area.right() + 1 - window.width()));
    const int y = std::max(area.top(), std::min(designed.y(), area.bottom() + 1 - window.height()));
    window.move(x, y);
}
