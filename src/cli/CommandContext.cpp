#include "cli/CommandContext.h"

#include <QRegularExpression>

namespace varkunda::cli {

int CommandContext::Fail(int status, const QString& message) const {
    err << program << ": " << message << Qt::endl;
    return status;
}

std::optional<int> ParseCommand(CommandContext& context, QCommandLineParser& parser,
                                const CommandSyntax& syntax, const QStringList& arguments) {
    parser.setApplicationDescription(syntax.description);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    for (const QString& argument : syntax.arguments) parser.addPositionalArgument(argument, {});
    QStringList withName = arguments;
    // A negative number ("-90") is an argument, never an option.
    static const QRegularExpression negativeNumber(QStringLiteral("-[0-9].*"));
    const auto firstNegative = withName.indexOf(negativeNumber);
    if (firstNegative >= 0) withName.insert(firstNegative, QStringLiteral("--"));
    withName.prepend(context.program + QLatin1Char(' ') + syntax.name);
    if (!parser.parse(withName))
        return context.Fail(exitstatus::kUsage,
                            syntax.name + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the command as well.
        context.out << parser.helpText().replace(
            QStringLiteral(" [options]"),
            QLatin1Char(' ') + syntax.name + QStringLiteral(" [options]"));
        return exitstatus::kDone;
    }
    const auto given = parser.positionalArguments().size();
    const auto most = syntax.arguments.size();
    const bool whole = syntax.repeated ? given > 0 && given % most == 0 : given <= most;
    if (!whole || given < most - syntax.optionalArguments)
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("%1: expected %2; see %3 %1 --help")
                                .arg(syntax.name,
                                     syntax.arguments.isEmpty() ? QStringLiteral("no arguments")
                                                                : syntax.arguments.join(u' '),
                                     context.program));
    return std::nullopt;
}

}  // namespace varkunda::cli
