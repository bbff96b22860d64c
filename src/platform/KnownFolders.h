#pragma once

#include <QString>

// The folders the editor keeps its files in or reads from.
class KnownFolders {
public:
    virtual ~KnownFolders() = default;
    virtual QString documents() const = 0;
    virtual QString temporary() const = 0;
    virtual QString programFolder() const = 0;
};
