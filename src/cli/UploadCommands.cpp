// The commands that send images and tables, and the EEPROM tools: upload, tuning-data,
// eeprom.

#include <QFile>
#include <QSaveFile>

#include "cli/Commands.h"
#include "cli/PedalSession.h"
#include "frontend/AlgorithmFileText.h"
#include "link/AlgorithmUpload.h"
#include "link/EepromTools.h"
#include "link/TuningDataUpload.h"
#include "protocol/AlgorithmFile.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/Tunings.h"

void varkundaInitBuiltinResources();

namespace varkunda::cli {

namespace {

const QString kBuiltinImage = QStringLiteral(":/builtin/VARKUNDA_TZ5_0014");
const QStringList kEepromAddresses = {QStringLiteral("50"), QStringLiteral("51")};

// The built-in algorithm's upload message: the first line of its image.
std::optional<std::string> BuiltinMessage(CommandContext& context, int& status) {
    varkundaInitBuiltinResources();
    QFile image(kBuiltinImage);
    if (!image.open(QIODevice::ReadOnly)) {
        status = context.Fail(exitstatus::kBadInputFile,
                              QStringLiteral("The built-in algorithm image could not be read."));
        return std::nullopt;
    }
    return image.readLine().trimmed().toStdString();
}

// The file's upload message after the editor's checks; one byte more than the pedal takes
// is read so that a larger file is seen as such.
std::optional<std::string> FileMessage(CommandContext& context, const QString& path, int& status) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        status = context.Fail(exitstatus::kBadInputFile,
                              QStringLiteral("The effect file could not be read (%1). Nothing was "
                                             "sent.")
                                  .arg(file.errorString()));
        return std::nullopt;
    }
    const QByteArray read = file.read(static_cast<qint64>(protocol::kAlgorithmMessageLimit) + 1);
    const std::vector<std::uint8_t> bytes(read.begin(), read.end());
    const auto check = protocol::CheckAlgorithmFile(bytes);
    if (!check.ok()) {
        status = context.Fail(exitstatus::kBadInputFile, AlgorithmFileRefusalText(check));
        return std::nullopt;
    }
    return protocol::BytesToHexText(bytes);
}

int SendAlgorithm(CommandContext& context, const std::string& message,
                  std::chrono::milliseconds bypassPause) {
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    if (auto failed = session->Send(protocol::BypassMessage(true))) return *failed;
    session->transport().environment().sleep(bypassPause);
    const auto result = link::UploadAlgorithm(session->transport(), message);
    if (!result.ok()) return session->Failure(exitstatus::kNoAnswer, *result.error);
    context.out << QString::fromLatin1(reinterpret_cast<const char*>(result.answer.data()),
                                       static_cast<qsizetype>(result.answer.size()))
                       .trimmed()
                << '\n';
    return exitstatus::kDone;
}

int EepromDump(CommandContext& context, const QString& address, const QString& path) {
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    const auto dump = link::ReadEepromDump(session->transport(), address.toStdString());
    if (!dump.sent.ok()) return session->Failure(exitstatus::kNoAnswer, *dump.sent.error);
    if (!dump.complete()) {
        return session->Failure(exitstatus::kNoAnswer,
                                dump.error.value_or(link::LinkError{link::LinkErrorKind::NoReply}));
    }
    QSaveFile file(path);
    const auto size = static_cast<qint64>(dump.contents.size());
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(dump.contents.data()), size) == size &&
        file.commit();
    if (written) return exitstatus::kDone;
    return context.Fail(exitstatus::kBadInputFile,
                        QStringLiteral("Error saving file: %1: %2").arg(path, file.errorString()));
}

}  // namespace

int UploadCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("upload"),
                                 QStringLiteral("Installs the built-in algorithm, or the one in "
                                                "FILE.dat, and prints the pedal's answer."),
                                 {QStringLiteral("[FILE.dat]")},
                                 1},
                                arguments))
        return *end;
    int status = exitstatus::kDone;
    const bool fromFile = !parser.positionalArguments().isEmpty();
    const auto message = fromFile
                             ? FileMessage(context, parser.positionalArguments().first(), status)
                             : BuiltinMessage(context, status);
    if (!message) return status;
    return SendAlgorithm(context, *message,
                         fromFile ? link::kBypassBeforeFilePause : link::kBypassBeforeImagePause);
}

int TuningDataCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption print(QStringLiteral("print"),
                                   QStringLiteral("Prints the table's digits; sends nothing."));
    parser.addOption(print);
    if (auto end = ParseCommand(context, parser,
                                {QStringLiteral("tuning-data"),
                                 QStringLiteral("Sends the tuning table to the pedal (which "
                                                "stays in bypass)."),
                                 {}},
                                arguments))
        return *end;
    const std::string table = protocol::TuningDataText();
    if (parser.isSet(print)) {
        context.out << QString::fromStdString(table) << '\n';
        return exitstatus::kDone;
    }
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    const link::SendResult sent = link::UploadTuningData(session->transport(), table);
    if (!sent.ok()) return session->Failure(exitstatus::kNoAnswer, *sent.error);
    return exitstatus::kDone;
}

int EepromCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption yes(
        QStringLiteral("yes"), QStringLiteral("Confirms an erase; nothing is erased without it."));
    parser.addOption(yes);
    if (auto end = ParseCommand(
            context, parser,
            {QStringLiteral("eeprom"),
             QStringLiteral("dump 50|51 FILE: writes the EEPROM's 16384 bytes "
                            "to FILE. erase 50|51 --yes: erases it."),
             {QStringLiteral("dump|erase"), QStringLiteral("50|51"), QStringLiteral("[FILE]")},
             1},
            arguments))
        return *end;
    const QStringList given = parser.positionalArguments();
    const QString action = given.at(0);
    const QString address = given.at(1);
    if (!kEepromAddresses.contains(address))
        return context.Fail(
            exitstatus::kUsage,
            QStringLiteral("eeprom: \"%1\" is no EEPROM: use 50 or 51").arg(address));
    if (action == QStringLiteral("dump") && given.size() == 3)
        return EepromDump(context, address, given.at(2));
    if (action == QStringLiteral("erase") && given.size() == 2) {
        if (!parser.isSet(yes))
            return context.Fail(exitstatus::kUsage,
                                QStringLiteral("eeprom: nothing was erased; confirm with --yes"));
        int status = exitstatus::kDone;
        auto session = PedalSession::CreateLinked(context, status);
        if (!session) return status;
        const link::SendResult sent =
            link::EraseEeprom(session->transport(), address.toStdString());
        if (!sent.ok()) return session->Failure(exitstatus::kNoAnswer, *sent.error);
        return exitstatus::kDone;
    }
    return context.Fail(exitstatus::kUsage,
                        QStringLiteral("eeprom: use dump 50|51 FILE or erase 50|51 --yes"));
}

}  // namespace varkunda::cli
