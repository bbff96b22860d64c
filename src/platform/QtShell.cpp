#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#ifdef Q_OS_WIN
// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <shellapi.h>
#endif

bool QtShell::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

#ifdef Q_OS_WIN
bool QtShell::canStartElevated() const { return true; }

bool QtShell::startElevated(const QString& program, const QString& parameters) {
    const std::wstring file = QDir::toNativeSeparators(program).toStdWString();
    const std::wstring text = parameters.toStdWString();
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"runas", file.c_str(), text.empty() ? nullptr : text.c_str(),
                      nullptr, SW_SHOWNORMAL);
    // Values of 32 and below are the shell's error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
#else
bool QtShell::canStartElevated() const { return false; }

bool QtShell::startElevated(const QString&, const QString&) { return false; }
#endif
