#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "platform/WindowsShell.h"

bool QtShell::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

bool QtShell::startElevated(const QString& program, const QStringList& arguments) {
#if defined(Q_OS_WIN)
    return StartElevatedOnWindows(program, arguments);
#else
    return QProcess::startDetached(program, arguments);
#endif
}
