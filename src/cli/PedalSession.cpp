#include "cli/PedalSession.h"

#include <QProcessEnvironment>

#include "frontend/LinkErrorText.h"
#include "link/QtLinkEnvironment.h"
#include "link/StatusRequest.h"
#include "link/backends/BackendChoice.h"
#include "link/backends/BackendFactory.h"

namespace varkunda::cli {

namespace {

constexpr std::chrono::milliseconds kSettleBeforeClose{100};

link::LinkEnvironment& EnvironmentOf(CommandContext& context,
                                     std::unique_ptr<link::LinkEnvironment>& owned) {
    if (context.injection.environment) return *context.injection.environment;
    owned = std::make_unique<link::QtLinkEnvironment>();
    return *owned;
}

int ChoiceFailureStatus(const link::LinkError& error) {
    const bool unreadable = error.kind == link::LinkErrorKind::UnknownDeviceChoice ||
                            error.kind == link::LinkErrorKind::DeviceChoiceMissing;
    return unreadable ? exitstatus::kUsage : exitstatus::kNoDevice;
}

}  // namespace

PedalSession::PedalSession(CommandContext& context, std::unique_ptr<link::D2xx> owned,
                           link::D2xx& driver, link::LinkLog log)
    : context_(context),
      ownedDevice_(std::move(owned)),
      access_(driver),
      transport_(access_, EnvironmentOf(context, ownedEnvironment_), std::move(log)) {
    // Failures are told once, as the command's own message, never on the way.
    access_.setErrorReporter([](const link::LinkError&) {});
    access_.setDeviceLostHandler([](const link::LinkError&) {});
    access_.SetLineParameters(link::LineMode::NormalLine);
}

std::unique_ptr<PedalSession> PedalSession::CreateLinked(CommandContext& context, int& status,
                                                         link::LinkLog log) {
    auto session = Create(context, status, std::move(log));
    if (!session) return nullptr;
    if (auto failed = session->Open()) {
        status = *failed;
        return nullptr;
    }
    return session;
}

std::unique_ptr<PedalSession> PedalSession::Create(CommandContext& context, int& status,
                                                   link::LinkLog log) {
    if (context.injection.device) {
        return std::unique_ptr<PedalSession>(
            new PedalSession(context, nullptr, *context.injection.device, std::move(log)));
    }
    QStringList choiceArguments{context.program};
    if (context.deviceChoice)
        choiceArguments << QStringLiteral("--device") << *context.deviceChoice;
    const link::BackendChoice choice = link::ParseBackendChoice(
        choiceArguments,
        QProcessEnvironment::systemEnvironment().value(link::kDeviceEnvironmentVariable));
    link::CreatedBackend backend = link::CreateBackend(choice);
    if (!backend.device) {
        const link::LinkError error =
            backend.error.value_or(choice.error.value_or(link::LinkError{}));
        status = context.Fail(ChoiceFailureStatus(error), LinkErrorText(error));
        return nullptr;
    }
    link::D2xx& driver = *backend.device;
    return std::unique_ptr<PedalSession>(
        new PedalSession(context, std::move(backend.device), driver, std::move(log)));
}

// The pedal is given the time it takes for a setting before the line closes under it.
PedalSession::~PedalSession() {
    if (!open_) return;
    if (sent_) transport_.environment().sleep(kSettleBeforeClose);
    access_.CloseDevice();
}

std::vector<link::FoundDevice> PedalSession::List() { return link::ListDevices(access_); }

std::optional<int> PedalSession::Open() {
    const auto devices = List();
    if (devices.empty())
        return context_.Fail(exitstatus::kNoDevice, QStringLiteral("No device found"));
    if (context_.serial.isEmpty()) {
        if (devices.size() > 1)
            return context_.Fail(exitstatus::kUsage,
                                 QStringLiteral("%1 devices are attached: choose one with --serial "
                                                "(see the list command).")
                                     .arg(devices.size()));
        serial_ = devices.front().serial;
    } else {
        serial_ = context_.serial.toStdString();
        const bool attached = std::any_of(devices.begin(), devices.end(), [&](const auto& found) {
            return found.serial == serial_;
        });
        if (!attached)
            return context_.Fail(exitstatus::kNoDevice,
                                 QStringLiteral("No device with the serial number %1 is attached.")
                                     .arg(context_.serial));
    }
    const link::LinkOpenResult result = link::OpenDeviceLink(transport_, serial_, false);
    if (!result.opened()) return context_.Fail(exitstatus::kNoDevice, LinkErrorText(*result.error));
    open_ = true;
    return std::nullopt;
}

std::optional<int> PedalSession::Send(std::string_view hexText, link::PurgeFirst purge) {
    const link::SendResult sent = transport_.Send(hexText, purge);
    sent_ = true;
    if (sent.ok()) return std::nullopt;
    return Failure(exitstatus::kNoAnswer, *sent.error);
}

std::optional<protocol::StatusReply> PedalSession::RequestStatus(int& status) {
    const link::StatusOutcome outcome = link::RequestStatus(transport_);
    if (outcome.ok()) return outcome.reply;
    status = Failure(exitstatus::kNoAnswer, *outcome.error);
    return std::nullopt;
}

int PedalSession::Failure(int statusWhileLinked, const link::LinkError& error) {
    if (const auto& loss = access_.DeviceLoss())
        return context_.Fail(exitstatus::kNoDevice, LinkErrorText(*loss));
    return context_.Fail(statusWhileLinked, LinkErrorText(error));
}

}  // namespace varkunda::cli
