// The firmware upgrade: upgrade [12|13|FILE].

#include <QFile>
#include <span>

#include "cli/Commands.h"
#include "cli/PedalSession.h"
#include "firmware/FirmwareNumbers.h"
#include "frontend/LinkErrorText.h"
#include "link/BootloaderEntry.h"
#include "link/FirmwareUpgrade.h"
#include "link/StatusRequest.h"
#include "platform/QtResourceStore.h"
#include "protocol/Messages.h"

namespace varkunda::cli {

namespace {

namespace bootloader = link::bootloader;

struct FirmwareImage {
    QByteArray bytes;
    unsigned number = 0;
};

std::optional<unsigned> BuiltinNumber(const QString& choice) {
    for (unsigned number : kFirmwareNumbers)
        if (choice == QString::number(number)) return number;
    return std::nullopt;
}

std::optional<FirmwareImage> BuiltinImage(CommandContext& context, unsigned number, int& status) {
    const QString name = QStringLiteral("Firmware_%1").arg(number);
    auto bytes = QtResourceStore().find(name);
    if (!bytes) {
        status = context.Fail(exitstatus::kBadInputFile,
                              QStringLiteral("Error loading resource: ") + name);
        return std::nullopt;
    }
    return FirmwareImage{*bytes, number};
}

// A raw image as the flash takes it, at most 131 072 bytes; one byte more is read so
// that a larger file is seen as such.
std::optional<FirmwareImage> FileImage(CommandContext& context, const QString& path,
                                       unsigned number, int& status) {
    QFile file(path);
    const auto refuse = [&](const QString& why) {
        status = context.Fail(exitstatus::kBadInputFile,
                              QStringLiteral("upgrade: %1: %2; nothing was sent").arg(path, why));
        return std::nullopt;
    };
    if (!file.open(QIODevice::ReadOnly)) return refuse(file.errorString());
    const QByteArray bytes = file.read(static_cast<qint64>(bootloader::kMaxImageSize) + 1);
    if (bytes.isEmpty()) return refuse(QStringLiteral("the firmware image is empty"));
    if (static_cast<std::size_t>(bytes.size()) > bootloader::kMaxImageSize)
        return refuse(QStringLiteral("the firmware image is larger than %1 bytes")
                          .arg(bootloader::kMaxImageSize));
    return FirmwareImage{bytes, number};
}

// The run's progress on one line of a terminal, rewritten in place; nothing elsewhere.
class ProgressLine {
  public:
    explicit ProgressLine(CommandContext& context) : context_(context) {}
    ~ProgressLine() { End(); }

    link::BootloaderClient::Progress Phase(const QString& name) {
        if (!context_.injection.errIsTerminal) return {};
        return [this, name](std::size_t done, std::size_t total) {
            context_.err << '\r' << name
                         << QStringLiteral(": chunk %1 of %2   ").arg(done).arg(total) << Qt::flush;
            shown_ = true;
        };
    }
    // Ends the line, so that a message after it starts on its own.
    void End() {
        if (shown_) context_.err << '\n' << Qt::flush;
        shown_ = false;
    }

  private:
    CommandContext& context_;
    bool shown_ = false;
};

int BootloaderFailure(PedalSession& session, CommandContext& context, const QString& what,
                      const link::BootloaderError& error) {
    if (const auto& loss = session.transport().access().DeviceLoss())
        return context.Fail(exitstatus::kNoDevice, LinkErrorText(*loss));
    return context.Fail(exitstatus::kNoAnswer,
                        what + QString::fromStdString(link::BootloaderErrorText(error)));
}

// The pedal's bootloader, connected. A pedal that answers the status request runs its
// firmware and, from firmware 9 on, is asked into its bootloader; one that does not is
// probed with the sync byte (twice at most). So the running firmware, the usual case,
// never sees a byte outside its command set, and every step has its time limit.
std::optional<int> ConnectBootloader(PedalSession& session, CommandContext& context,
                                     link::BootloaderClient& client) {
    link::Transport& transport = session.transport();
    const link::StatusOutcome running = link::RequestStatus(transport);
    if (const auto& loss = transport.access().DeviceLoss())
        return context.Fail(exitstatus::kNoDevice, LinkErrorText(*loss));
    if (!running.ok()) {
        if (auto error = link::ConnectRunningBootloader(client))
            return BootloaderFailure(session, context,
                                     QStringLiteral("The pedal answered neither the status "
                                                    "request nor the bootloader's sync byte. "),
                                     *error);
        context.out << "Connection to bootloader succeeded, ready for firmware upgrade\n";
        return std::nullopt;
    }
    if (running.reply->firmware < link::kFirstFirmwareWithBootloaderMessage)
        return context.Fail(exitstatus::kNoAnswer,
                            QStringLiteral("The pedal runs firmware %1, which cannot be sent into "
                                           "its bootloader: power it up with SHIFT held and run "
                                           "upgrade again.")
                                .arg(running.reply->firmware));
    if (auto failed = session.Send(protocol::BypassMessage(true))) return *failed;
    if (auto error = link::EnterBootloader(client, transport))
        return BootloaderFailure(session, context,
                                 QStringLiteral("Connection to bootloader failed: "), *error);
    context.out << "Connection to bootloader succeeded\n";
    return std::nullopt;
}

struct UpgradeChoices {
    bool readBack = true;
    bool noParity = false;
};

int Upgrade(CommandContext& context, const FirmwareImage& image, const UpgradeChoices& choices) {
    int status = exitstatus::kDone;
    auto session = PedalSession::CreateLinked(context, status);
    if (!session) return status;
    link::BootloaderClient client(session->transport(), choices.noParity
                                                            ? link::LineMode::NormalLine
                                                            : link::LineMode::BootloaderLine);
    if (auto failed = ConnectBootloader(*session, context, client)) return *failed;

    ProgressLine progress(context);
    link::FirmwareUpgradeHooks hooks;
    hooks.written = progress.Phase(QStringLiteral("Writing"));
    hooks.verified = progress.Phase(QStringLiteral("Reading back"));
    hooks.readBack = choices.readBack;
    hooks.beforeGo = [&] { progress.End(); };
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(image.bytes.constData()),
        static_cast<std::size_t>(image.bytes.size()));
    const auto result = link::RunFirmwareUpgrade(session->transport(), bytes, image.number, hooks);
    progress.End();
    if (result)
        return BootloaderFailure(*session, context,
                                 QStringLiteral("Firmware upgrade failed (the pedal stays in its "
                                                "bootloader; run upgrade again): "),
                                 *result);
    // Said only once the bootloader has taken Go: a refused start is a failure.
    context.out << "Firmware Upgrade Complete, device will now restart\n";

    const auto reply = session->RequestStatus(status);
    if (!reply) return status;
    context.out << "Firmware: " << reply->firmware << '\n';
    if (reply->firmware != image.number)
        return context.Fail(
            exitstatus::kNoAnswer,
            QStringLiteral("The pedal reports firmware %1 after the upgrade, not %2.")
                .arg(reply->firmware)
                .arg(image.number));
    return exitstatus::kDone;
}

}  // namespace

int UpgradeCommand(CommandContext& context, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption yes(
        QStringLiteral("yes"),
        QStringLiteral("Confirms the upgrade; nothing is sent without it. A pedal on firmware 9 "
                       "or newer is sent into its bootloader: keep its SHIFT button pressed "
                       "while the command starts."));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"),
                                      QStringLiteral("Does not read the written image back."));
    const QCommandLineOption number(
        QStringLiteral("number"),
        QStringLiteral("The firmware number of FILE (5 to 13), written into the version record."),
        QStringLiteral("N"));
    const QCommandLineOption noParity(
        QStringLiteral("no-parity"),
        QStringLiteral("Talks to the bootloader without its even parity, for a port that cannot "
                       "carry parity (a pseudo-terminal)."));
    parser.addOptions({yes, noVerify, number, noParity});
    if (auto end = ParseCommand(
            context, parser,
            {QStringLiteral("upgrade"),
             QStringLiteral(
                 "Writes firmware 12 or 13 (built in; 13 when none is named) or a raw image FILE "
                 "through the pedal's bootloader: erase, write, read back, version record, "
                 "start, then the status. A pedal that does not answer the status request is "
                 "taken to be in its bootloader already (powered up with SHIFT held). Without "
                 "--yes the image is checked and nothing is sent."),
             {QStringLiteral("[12|13|FILE]")},
             1},
            arguments))
        return *end;
    const QString choice = parser.positionalArguments().value(0, QStringLiteral("13"));
    const auto builtin = BuiltinNumber(choice);
    int status = exitstatus::kDone;
    std::optional<FirmwareImage> image;
    if (builtin) {
        if (parser.isSet(number))
            return context.Fail(exitstatus::kUsage,
                                QStringLiteral("upgrade: --number is for a FILE; the built-in "
                                               "images carry their own"));
        image = BuiltinImage(context, *builtin, status);
    } else {
        bool isNumber = false;
        const unsigned given = parser.value(number).toUInt(&isNumber);
        if (!isNumber || given < bootloader::kOldestFirmware || given > bootloader::kNewestFirmware)
            return context.Fail(exitstatus::kUsage,
                                QStringLiteral("upgrade: give the firmware number of %1 with "
                                               "--number, 5 to 13")
                                    .arg(choice));
        image = FileImage(context, choice, given, status);
    }
    if (!image) return status;
    if (!parser.isSet(yes))
        return context.Fail(exitstatus::kUsage,
                            QStringLiteral("upgrade: nothing was sent; confirm with --yes"));
    return Upgrade(context, *image, {!parser.isSet(noVerify), parser.isSet(noParity)});
}

}  // namespace varkunda::cli
