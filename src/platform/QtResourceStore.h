#pragma once

#include <QHash>

#include "platform/ResourceStore.h"

// The resources compiled into the editor under the prefix /builtin, looked up by
// name without regard to case.
class QtResourceStore : public ResourceStore {
public:
    QtResourceStore();
    std::optional<QByteArray> find(const QString& name) const override;

private:
    QHash<QString, QString> pathByLowerName_;
};
