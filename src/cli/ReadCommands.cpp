// The commands that only read: list, status, get.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/BuiltinAddresses.h"
#include "cli/Commands.h"
#include "cli/ParameterText.h"
#include "cli/PedalSession.h"
#include "cli/StatusText.h"

namespace varkunda::cli {

namespace {

const QCommandLineOption kJsonOption(QStringLiteral("json"),
                                     QStringLiteral("Prints JSON instead of text."));

QString Text(const std::string& text) { return QString::fromStdString(text); }

void PrintJson(CommandContext& context, const QJsonDocument& document) {
    context.out << document.toJson(QJsonDocument::Indented);
}

}  // namespace

int ListCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOption(kJsonOption);
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("list"),
                                 QStringLiteral("Lists the attached bridges: index, serial "
                                                "number, description."),
                                 {}},
                                arguments))
        return *end;
    int status = exitstatus::kDone;
    auto session = PedalSession::Create(context, status);
    if (!session) return status;
    const auto devices = session->List();
    if (parser.isSet(kJsonOption)) {
        QJsonArray list;
        for (std::size_t i = 0; i < devices.size(); ++i)
            list.append(QJsonObject{{QStringLiteral("index"), static_cast<int>(i)},
                                    {QStringLiteral("serial"), Text(devices[i].serial)},
                                    {QStringLiteral("description"), Text(devices[i].description)}});
        PrintJson(context, QJsonDocument(list));
    } else {
        for (std::size_t i = 0; i < devices.size(); ++i)
            context.out << i << '\t' << Text(devices[i].serial) << '\t'
                        << Text(devices[i].description) << '\n';
    }
    if (devices.empty())
        return context.Fail(exitstatus::kNoDevice, QStringLiteral("No device found"));
    return exitstatus::kDone;
}

int StatusCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOption(kJsonOption);
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("status"),
                                 QStringLiteral("Prints the pedal's state: versions, every "
                                                "parameter, assignments and settings."),
                                 {}},
                                arguments))
        return *end;
    int status = exitstatus::kDone;
    auto session = PedalSession::Create(context, status);
    if (!session) return status;
    if (auto failed = session->Open()) return *failed;
    const auto reply = session->RequestStatus(status);
    if (!reply) return status;
    QString ignored;
    const auto addresses = BuiltinParameterAddresses(ignored);
    const QString serial = Text(session->serial());
    if (parser.isSet(kJsonOption))
        PrintJson(context, QJsonDocument(StatusJson(*reply, serial, addresses)));
    else
        context.out << StatusLines(*reply, serial, addresses).join(u'\n') << '\n';
    return exitstatus::kDone;
}

int GetCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOption(kJsonOption);
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("get"),
                                 QStringLiteral("Prints one parameter's raw value and what the "
                                                "window shows."),
                                 {QStringLiteral("NAME")}},
                                arguments))
        return *end;
    const QString name = parser.positionalArguments().first();
    const auto parameter = ParameterIndexOf(name);
    if (!parameter)
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("unknown parameter \"%1\"").arg(name));
    int status = exitstatus::kDone;
    auto session = PedalSession::Create(context, status);
    if (!session) return status;
    if (auto failed = session->Open()) return *failed;
    const auto reply = session->RequestStatus(status);
    if (!reply) return status;
    const std::uint32_t value = reply->parameters[*parameter];
    if (parser.isSet(kJsonOption))
        PrintJson(context, QJsonDocument(ParameterJson(*parameter, value)));
    else
        context.out << RawText(value) << '\t' << ShownValue(*parameter, value) << '\n';
    return exitstatus::kDone;
}

}  // namespace varkunda::cli
