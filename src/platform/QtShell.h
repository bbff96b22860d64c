#pragma once

#include "platform/Shell.h"

// Opens addresses in the default browser and starts programs.
class QtShell : public Shell {
public:
    bool openUrl(const QString& url) override;
    // Linux has no elevation prompt of its own here: the program is started as the
    // current user.
    bool startElevated(const QString& program, const QStringList& arguments) override;
};
