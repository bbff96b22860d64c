#pragma once

#include <QString>

// The folders the editor keeps its files in or reads from, and what it needs to know
// about the programs in them.
class KnownFolders {
public:
    virtual ~KnownFolders() = default;
    virtual QString documents() const = 0;
    // The user's temporary folder, in its long form.
    virtual QString temporary() const = 0;
    virtual QString programFolder() const = 0;
    // The running editor's own file, full path.
    virtual QString programFile() const = 0;
    // "major.minor" of a program file's version record; empty when it has none.
    virtual QString fileVersion(const QString& path) const = 0;
};
