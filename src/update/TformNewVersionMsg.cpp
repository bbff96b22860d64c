#include "update/TformNewVersionMsg.h"

#include "app/EditorContext.h"
#include "app/WindowPlacement.h"

TformNewVersionMsg::TformNewVersionMsg(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("New Version"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(268, 151);
    PlaceAsDesigned(*this, QPoint(81, 318));
}
