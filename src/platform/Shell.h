#pragma once

#include <QString>

// Services of the desktop shell.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a web address in the default browser.
    virtual bool openUrl(const QString& url) = 0;
    // Whether this platform can start a program with administrator rights.
    virtual bool canStartElevated() const = 0;
    // Starts `program` with administrator rights (the shell's "runas", which shows the
    // elevation prompt), no working folder, in a normal window; `parameters` is its
    // command-line text, already quoted. False when the program did not start.
    virtual bool startElevated(const QString& program, const QString& parameters) = 0;
};
