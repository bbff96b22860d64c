#pragma once

#include "platform/KnownFolders.h"

// The platform's folders. The environment variable VARKUNDA_DOCUMENTS, when set,
// stands for the documents folder (demos and tests point it at a scratch folder).
// Program files carry a version record on Windows only.
class QtKnownFolders : public KnownFolders {
public:
    QString documents() const override;
    QString temporary() const override;
    QString programFolder() const override;
    QString programFile() const override;
    QString fileVersion(const QString& path) const override;
};
