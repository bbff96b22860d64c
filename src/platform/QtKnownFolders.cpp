#include "platform/QtKnownFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>

#include <vector>
#endif

QString QtKnownFolders::documents() const {
    const QString overridden = qEnvironmentVariable("VARKUNDA_DOCUMENTS");
    if (!overridden.isEmpty()) return overridden;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString QtKnownFolders::temporary() const { return QDir::tempPath(); }

QString QtKnownFolders::programFolder() const { return QCoreApplication::applicationDirPath(); }

QString QtKnownFolders::programFile() const { return QCoreApplication::applicationFilePath(); }

#ifdef Q_OS_WIN
QString QtKnownFolders::fileVersion(const QString& path) const {
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> record(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, record.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        !fixed || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return QStringLiteral("%1.%2")
        .arg(HIWORD(fixed->dwFileVersionMS))
        .arg(LOWORD(fixed->dwFileVersionMS));
}
#else
QString QtKnownFolders::fileVersion(const QString&) const { return {}; }
#endif
