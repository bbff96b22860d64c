#pragma once

#include <QString>
#include <QStringList>

// Arguments as one Windows command line, quoted so that the started program's C runtime
// (CommandLineToArgvW) reads back exactly these arguments.
QString WindowsCommandLine(const QStringList& arguments);

#if defined(Q_OS_WIN)
// Starts `program` with administrator rights (ShellExecuteW "runas": Windows asks the
// user first). False when it could not be started or the user declined.
bool StartElevatedOnWindows(const QString& program, const QStringList& arguments);
#endif
