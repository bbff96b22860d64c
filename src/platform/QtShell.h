#pragma once

#include "platform/Shell.h"

// Opens addresses in the default browser; on Windows starts programs with
// administrator rights through the shell. Elsewhere there is no elevation prompt to
// ask for, and nothing is started.
class QtShell : public Shell {
public:
    bool openUrl(const QString& url) override;
    bool canStartElevated() const override;
    bool startElevated(const QString& program, const QString& parameters) override;
};
