#include "update/TformUpdateUpdater.h"

#include "app/EditorContext.h"

TformUpdateUpdater::TformUpdateUpdater(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("UpdateUpdater"));
}
