#pragma once

#include <QString>
#include <QStringList>

// Services of the desktop shell.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QString& url) = 0;
    virtual bool startElevated(const QString& program, const QStringList& arguments) = 0;
};
