// The assignment of the pedal's controls and remote footswitch: assign CONTROL CHOICE ...

#include <array>

#include "cli/BuiltinAddresses.h"
#include "cli/Commands.h"
#include "cli/ParameterText.h"
#include "cli/PedalSession.h"
#include "effects/FXsettingsTexts.h"
#include "protocol/Assignments.h"
#include "protocol/Messages.h"

namespace varkunda::cli {

namespace {

using protocol::kAssignControlCount;

const std::array<QString, kAssignControlCount> kControlWords = {
    QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III"), QStringLiteral("IV"),
    QStringLiteral("remote")};
const QString kNone = QStringLiteral("none");

// A control's new choice: its parameter, or a remote function, as the field to send.
struct Choice {
    std::size_t control = 0;
    std::optional<std::size_t> parameter;  // for Controls I to IV
    std::uint16_t remoteField = protocol::kNotAssigned;
};

std::optional<std::size_t> ControlOf(const QString& word) {
    for (std::size_t c = 0; c < kControlWords.size(); ++c)
        if (word.compare(kControlWords[c], Qt::CaseInsensitive) == 0) return c;
    return std::nullopt;
}

QString ChoiceNames(std::size_t control) {
    QStringList names{kNone};
    if (control == protocol::kRemote) {
        for (qsizetype i = 1; i < fxtexts::kRemoteItems.size(); ++i)
            names << fxtexts::kRemoteItems[i].toLower();
    } else {
        for (std::size_t parameter : protocol::AssignmentChoicesOf(control))
            names << QStringLiteral("\"%1\"").arg(
                QLatin1String(protocol::kParameterInfo[parameter].name));
    }
    return names.join(QStringLiteral(", "));
}

std::optional<Choice> ParseChoice(std::size_t control, const QString& text) {
    Choice choice;
    choice.control = control;
    if (text.compare(kNone, Qt::CaseInsensitive) == 0) return choice;
    if (control == protocol::kRemote) {
        for (qsizetype i = 1; i < fxtexts::kRemoteItems.size(); ++i)
            if (text.compare(fxtexts::kRemoteItems[i], Qt::CaseInsensitive) == 0) {
                choice.remoteField = protocol::kRemoteFields[static_cast<std::size_t>(i)];
                return choice;
            }
        return std::nullopt;
    }
    const auto parameter = ParameterIndexOf(text);
    const auto allowed = protocol::AssignmentChoicesOf(control);
    if (!parameter || std::find(allowed.begin(), allowed.end(), *parameter) == allowed.end())
        return std::nullopt;
    choice.parameter = parameter;
    return choice;
}

bool IsNoteCut(const Choice& choice) {
    return choice.parameter == protocol::param::kDominantNotesCut ||
           choice.parameter == protocol::param::kHighNotesCut;
}

QString Description() {
    QString text = QStringLiteral(
        "Assigns the pedal's controls: one or more pairs of CONTROL (I, II, III, IV or remote) "
        "and CHOICE. Controls not named keep what the pedal has. Choices:");
    for (std::size_t c = 0; c < kAssignControlCount; ++c)
        text += QStringLiteral("\n  %1: %2").arg(kControlWords[c], ChoiceNames(c));
    return text;
}

}  // namespace

int AssignCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("assign"),
                                 Description(),
                                 {QStringLiteral("CONTROL"), QStringLiteral("CHOICE")},
                                 0,
                                 true},
                                arguments))
        return *end;
    const QStringList given = parser.positionalArguments();
    std::vector<Choice> choices;
    for (qsizetype i = 0; i + 1 < given.size(); i += 2) {
        const auto control = ControlOf(given[i]);
        if (!control)
            return context.Fail(exitstatus::kUsage,
                                QStringLiteral("assign: \"%1\" is no control: use I, II, III, IV "
                                               "or remote")
                                    .arg(given[i]));
        const auto choice = ParseChoice(*control, given[i + 1]);
        if (!choice)
            return context.Fail(
                exitstatus::kUsage,
                QStringLiteral("assign: control %1 takes %2, not \"%3\"")
                    .arg(kControlWords[*control], ChoiceNames(*control), given[i + 1]));
        choices.push_back(*choice);
    }
    QString error;
    const auto addresses = BuiltinParameterAddresses(error);
    if (!addresses) return context.Fail(exitstatus::kBadInputFile, error);

    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    const auto reply = session->RequestStatus(status);
    if (!reply) return status;
    std::array<std::uint8_t, kAssignControlCount> flags{};
    std::array<std::uint16_t, kAssignControlCount> fields{};
    for (std::size_t c = 0; c < kAssignControlCount; ++c) {
        flags[c] = reply->assignmentFlags[c] != 0 ? 1 : 0;
        fields[c] = flags[c] ? reply->assignmentFields[c] : protocol::kNotAssigned;
    }
    for (const Choice& choice : choices) {
        if (IsNoteCut(choice) && reply->tuning == 0)
            return context.Fail(exitstatus::kUsage, fxtexts::kNoTuningForAssign);
        fields[choice.control] = choice.parameter
                                     ? (*addresses)[static_cast<std::size_t>(
                                           protocol::kParameterInfo[*choice.parameter].slot)]
                                     : choice.remoteField;
        flags[choice.control] = fields[choice.control] != protocol::kNotAssigned ? 1 : 0;
    }
    return session->Send(protocol::AssignMessage(flags, fields)).value_or(exitstatus::kDone);
}

}  // namespace varkunda::cli
