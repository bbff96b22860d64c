#include "platform/QtResourceStore.h"

#include <QDirIterator>
#include <QFile>

void varkundaInitBuiltinResources();

QtResourceStore::QtResourceStore() {
    varkundaInitBuiltinResources();
    QDirIterator entries(QStringLiteral(":/builtin"), QDir::Files);
    while (entries.hasNext()) {
        entries.next();
        pathByLowerName_.insert(entries.fileName().toLower(), entries.filePath());
    }
}

std::optional<QByteArray> QtResourceStore::find(const QString& name) const {
    const auto path = pathByLowerName_.constFind(name.toLower());
    if (path == pathByLowerName_.constEnd()) return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}
