#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandContext.h"
#include "link/D2xxAccess.h"
#include "link/DeviceLink.h"
#include "link/Transport.h"
#include "protocol/StatusReply.h"

namespace varkunda::cli {

// The chosen backend with its access layer and transport, the chosen device linked once
// Open succeeds; closed again at the end of the command.
class PedalSession {
  public:
    // Nothing, with the message on stderr and `status` set, when the backend cannot be made.
    // `log` hears the link's diagnostics; by default they are dropped.
    static std::unique_ptr<PedalSession> Create(CommandContext& context, int& status,
                                                link::LinkLog log = {});
    // Create, then Open: the linked pedal, or nothing with `status` set.
    static std::unique_ptr<PedalSession> CreateLinked(CommandContext& context, int& status,
                                                      link::LinkLog log = {});
    ~PedalSession();

    std::vector<link::FoundDevice> List();
    // Links the device --serial names, or the only one attached. The exit status on failure.
    std::optional<int> Open();

    // Sends one message; the exit status on failure.
    std::optional<int> Send(std::string_view hexText,
                            link::PurgeFirst purge = link::PurgeFirst::No);
    // The pedal's state now; the exit status when there is none.
    std::optional<protocol::StatusReply> RequestStatus(int& status);
    // The exit status for a failure of the link: 2 once the device is gone.
    int Failure(int statusWhileLinked, const link::LinkError& error);

    link::Transport& transport() { return transport_; }
    const std::string& serial() const { return serial_; }

  private:
    PedalSession(CommandContext& context, std::unique_ptr<link::D2xx> owned, link::D2xx& driver,
                 link::LinkLog log);

    CommandContext& context_;
    std::unique_ptr<link::D2xx> ownedDevice_;
    std::unique_ptr<link::LinkEnvironment> ownedEnvironment_;
    link::D2xxAccess access_;
    link::Transport transport_;
    std::string serial_;
    bool open_ = false;
    bool sent_ = false;
};

}  // namespace varkunda::cli
