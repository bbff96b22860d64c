#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Raw-data resources built into the editor, found by name without regard to case.
class ResourceStore {
public:
    virtual ~ResourceStore() = default;
    virtual std::optional<QByteArray> find(const QString& name) const = 0;
};
