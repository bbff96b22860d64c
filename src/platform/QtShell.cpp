#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool QtShell::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

bool QtShell::startElevated(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
