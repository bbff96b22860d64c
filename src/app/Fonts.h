#pragma once

#include <QFont>

// Arial at a size given in pixels at 96 dots per inch, as the windows were designed;
// a metric-compatible sans serif stands in where Arial is not installed.
QFont ArialFont(qreal pixelSize);
