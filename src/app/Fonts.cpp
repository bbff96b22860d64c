#include "app/Fonts.h"

#include <QString>
#include <QWidget>

void SetTextFont(QWidget& widget, int pixelSize) {
    widget.setStyleSheet(QStringLiteral(R"(QWidget { font-family: "%1"; font-size: %2px; })")
                             .arg(QLatin1String(kTextFamily))
                             .arg(pixelSize));
}
