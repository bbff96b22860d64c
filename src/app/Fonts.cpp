#include "app/Fonts.h"

#include <QStringList>

QFont ArialFont(qreal pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pixelSize * 72.0 / 96.0);
    return font;
}
