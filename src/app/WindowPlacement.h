#pragma once

#include <QPoint>

class QWidget;

// Moves a window to its designed position, or as near to it as keeps the whole window
// (at least its top left corner) on the screen that holds that position.
void PlaceAsDesigned(QWidget& window, QPoint designed);
