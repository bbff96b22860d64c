#include "platform/QtKnownFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString QtKnownFolders::documents() const {
    const QString overridden = qEnvironmentVariable("VARKUNDA_DOCUMENTS");
    if (!overridden.isEmpty()) return overridden;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString QtKnownFolders::temporary() const { return QDir::tempPath(); }

QString QtKnownFolders::programFolder() const { return QCoreApplication::applicationDirPath(); }
