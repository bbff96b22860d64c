#include "platform/WindowsShell.h"

#include <QRegularExpression>

#if defined(Q_OS_WIN)
#include <QDir>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>
#endif

namespace {

QString QuotedArgument(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(QRegularExpression(QStringLiteral("[\\s\"]"))))
        return argument;
    // Backslashes count double only before a quote, including the closing one.
    QString quoted = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"') {
            quoted += QString(backslashes * 2 + 1, u'\\');
        } else {
            quoted += QString(backslashes, u'\\');
        }
        quoted += c;
        backslashes = 0;
    }
    quoted += QString(backslashes * 2, u'\\');
    return quoted + u'"';
}

}  // namespace

QString WindowsCommandLine(const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments) quoted << QuotedArgument(argument);
    return quoted.join(u' ');
}

#if defined(Q_OS_WIN)
bool StartElevatedOnWindows(const QString& program, const QStringList& arguments) {
    const std::wstring file = QDir::toNativeSeparators(program).toStdWString();
    const std::wstring parameters = WindowsCommandLine(arguments).toStdWString();
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"runas", file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; below are error codes (5: the user declined).
    return reinterpret_cast<INT_PTR>(result) > 32;
}
#endif
