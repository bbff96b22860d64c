#pragma once

#include "platform/Shell.h"

// Opens addresses in the default browser and starts programs.
class QtShell : public Shell {
public:
    bool openUrl(const QString& url) override;
    // Windows asks the user for administrator rights ("runas"); elsewhere the program
    // is started as the current user.
    bool startElevated(const QString& program, const QStringList& arguments) override;
};
