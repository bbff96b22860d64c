#include "cli/CliRun.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <functional>
#include <map>

#include "cli/CommandContext.h"
#include "cli/Commands.h"

namespace varkunda::cli {

namespace {

using Command = std::function<int(CommandContext&, const QStringList&)>;

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("list"), ListCommand},
        {QStringLiteral("status"), StatusCommand},
        {QStringLiteral("get"), GetCommand},
        {QStringLiteral("set"), SetCommand},
        {QStringLiteral("save"), SaveCommand},
        {QStringLiteral("preset"), PresetCommand},
        {QStringLiteral("midi"), MidiCommand},
        {QStringLiteral("range"), RangeCommand},
        {QStringLiteral("erase-settings"), EraseSettingsCommand},
        {QStringLiteral("upload"), UploadCommand},
        {QStringLiteral("tuning-data"), TuningDataCommand},
        {QStringLiteral("eeprom"), EepromCommand},
        {QStringLiteral("tuning"), TuningCommand},
        {QStringLiteral("footswitch"), FootswitchCommand},
        {QStringLiteral("upgrade"), UpgradeCommand},
        {QStringLiteral("assign"), AssignCommand},
        {QStringLiteral("log"), LogCommand},
        {QStringLiteral("doctor"), DoctorCommand},
    };
    return commands;
}

QString CommandList() {
    QStringList names;
    for (const auto& [name, command] : Commands()) names << name;
    return names.join(QStringLiteral(", "));
}

}  // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           const CliInjection& injection) {
    CommandContext context{out, err, injection, QStringLiteral("varkunda-cli"), {}, {}};
    if (!arguments.isEmpty()) context.program = QFileInfo(arguments.first()).fileName();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The Varkunda TZ5 from a terminal. Commands: ") + CommandList() +
        QStringLiteral(". Each command has its own --help."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("The device backend: sim, sim:N, serial, serial:PORT, d2xx, d2xx:LIBRARY "
                       "or auto (default: the environment variable VARKUNDA_DEVICE, else auto)."),
        QStringLiteral("choice"));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QStringLiteral("The serial number of the bridge to use when several are attached."),
        QStringLiteral("serial"));
    parser.addOptions({help, device, serial});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
                                 QStringLiteral("COMMAND [ARGS]"));
    if (!parser.parse(arguments)) return context.Fail(exitstatus::kUsage, parser.errorText());

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        if (parser.isSet(help)) {
            out << parser.helpText();
            return exitstatus::kDone;
        }
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("no command given; see %1 --help").arg(context.program));
    }
    if (parser.isSet(device)) context.deviceChoice = parser.value(device);
    context.serial = parser.value(serial);

    const auto command = Commands().find(positional.first());
    if (command == Commands().end())
        return context.Fail(exitstatus::kUsage, QStringLiteral("unknown command \"%1\": use %2")
                                                    .arg(positional.first(), CommandList()));
    return command->second(context, positional.mid(1));
}

}  // namespace varkunda::cli
