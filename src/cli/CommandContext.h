#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "cli/CliRun.h"

namespace varkunda::cli {

// What every command is given: the streams, the global options and the test injection.
struct CommandContext {
    QTextStream& out;
    QTextStream& err;
    CliInjection injection;
    QString program;
    std::optional<QString> deviceChoice;  // --device, else VARKUNDA_DEVICE
    QString serial;                       // --serial: one of several bridges

    // One message line on stderr; returns `status`.
    int Fail(int status, const QString& message) const;
};

// A command's own options and arguments, with --help. Nothing when the command goes on;
// otherwise its exit status (help printed, or a usage error on stderr).
struct CommandSyntax {
    QString name;  // "set", "preset save"
    QString description;
    QStringList arguments;      // names of the positional arguments, in order
    int optionalArguments = 0;  // how many of the last ones may be left out
    bool repeated = false;      // the arguments may be given again, as a whole group
};
std::optional<int> ParseCommand(CommandContext& context, QCommandLineParser& parser,
                                const CommandSyntax& syntax, const QStringList& arguments);

}  // namespace varkunda::cli
