// Faults of the software pedal's own program, met by the link layer over a
// pseudo-terminal on the real clock: the status request ends in time with the right
// outcome, and the next one gets a whole, fresh reply.
#include <gtest/gtest.h>

#ifdef VARKUNDA_PEDAL_SIM_PATH

#include <QElapsedTimer>
#include <optional>
#include <utility>

#include "PseudoTerminalPedal.h"
#include "link/StatusRequest.h"
#include "link/backends/SerialPortD2xx.h"

using namespace varkunda::link;
using namespace std::chrono_literals;

namespace {

struct TerminalFault {
    const char* name;
    const char* fault;  // varkunda-pedal-sim --fault
    std::optional<LinkErrorKind> outcome;
    bool unplugMidRequest = false;
    bool lasts = false;  // the fault spoils the next request too
};

class PseudoTerminalFault : public ::testing::TestWithParam<TerminalFault> {};

TEST_P(PseudoTerminalFault, TheRequestEndsInTimeAndTheNextOneIsWhole) {
    const TerminalFault& c = GetParam();
    PedalSimProcess pedal({QStringLiteral("--fault"), QString::fromLatin1(c.fault)});
    ASSERT_FALSE(pedal.path().empty());
    SerialPortD2xx backend(CreateQtSerialPortSystem(), pedal.path());
    D2xxAccess access(backend);
    access.setErrorReporter([](const LinkError&) {});
    access.setDeviceLostHandler([](const LinkError&) {});
    ASSERT_EQ(access.Open_USB_Device_By_Serial_Number(pedal.path()), ft::OK);
    access.SetLineParameters(LineMode::NormalLine);
    access.SetDeviceBaudRate();
    access.SetDeviceDataCharacteristics();
    ShortPauseEnvironment environment;
    bool pulled = false;  // outlives the request that reads it
    if (c.unplugMidRequest) {
        environment.onSleep = [&](std::chrono::milliseconds) {
            if (!std::exchange(pulled, true)) pedal.kill();
        };
    }
    Transport transport(access, environment, LinkLog{});

    QElapsedTimer clock;
    clock.start();
    const StatusOutcome first = RequestStatus(transport);
    EXPECT_LT(clock.elapsed(), std::chrono::milliseconds(kReplyTimeLimit + 1s).count());
    if (c.outcome) {
        ASSERT_FALSE(first.ok());
        EXPECT_EQ(first.error->kind, *c.outcome);
    } else {
        ASSERT_TRUE(first.ok()) << static_cast<int>(first.error->kind);
        EXPECT_EQ(first.numbers.size(), 102u);
    }
    if (c.unplugMidRequest || c.lasts) return;

    const StatusOutcome next = RequestStatus(transport);
    ASSERT_TRUE(next.ok());
    EXPECT_EQ(next.numbers.size(), 102u);
    EXPECT_EQ(next.reply->FirmwareVersionText(), "13");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PseudoTerminalFault,
    ::testing::Values(TerminalFault{"Silence", "silence", LinkErrorKind::NoReply, false, true},
                      TerminalFault{"Garbage", "garbage", LinkErrorKind::IncompleteReply},
                      TerminalFault{"ShortReply", "short-reply:40", LinkErrorKind::IncompleteReply},
                      TerminalFault{"ExtraBytes", "extra-bytes:5", std::nullopt},
                      TerminalFault{"SplitReply", "split-reply:1", std::nullopt},
                      TerminalFault{"Unplugged", "split-reply:1", LinkErrorKind::ReadFailed, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

#endif  // VARKUNDA_PEDAL_SIM_PATH
