// What a player sees when the line or the pedal fails in the middle of an exchange: one
// clear message, a wait that ends on the fake clock, no stale value shown as fresh, the
// controls back as the state table has them, and the next exchange working.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <chrono>
#include <functional>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "console/TformPrint.h"
#include "effects/ArcDial.h"
#include "link/AlgorithmUpload.h"
#include "link/EepromTools.h"
#include "link/StatusRequest.h"

using namespace pedal_test;
using namespace std::chrono_literals;
using varkunda::sim::Fault;

namespace {

const QString kLost =
    "The Varkunda TZ5 was disconnected. Plug it in again and choose Connection > Scan.";
const QString kNoStatusAnswer = "The pedal did not answer the status request in time.";
const QString kUploadFailed = "Upload Failed";
using varkunda::link::kBypassBeforeImagePause;
constexpr auto kStatusWait = varkunda::link::kStatusReplyPause + varkunda::link::kReplyTimeLimit;
constexpr auto kUploadWait = kBypassBeforeImagePause + varkunda::link::kUploadAnswerTimeout;
constexpr auto kDumpWait = varkunda::link::kEepromDumpTimeLimit;

enum class Exchange { StatusRequest, AlgorithmUpload, EepromDump };

struct FaultCase {
    const char* name;
    Exchange exchange;
    std::function<void(PedalEditor&)> inject;
    QStringList messages;  // exactly the dialogs shown
    QString status;        // what the status line says after, when the case says
    bool staysLinked;
    std::chrono::milliseconds longestWait;  // on the fake clock
};

// The pedal's line at settings its firmware does not hear: every byte is lost.
std::function<void(PedalEditor&)> LineAt(std::uint32_t baud, std::uint8_t parity) {
    return [=](PedalEditor& pedal) {
        varkunda::sim::LineSettings line;
        line.baudRate = baud;
        line.parity = parity;
        pedal.pedal().setLineSettings(line);
    };
}

std::function<void(PedalEditor&)> Inject(Fault fault, std::size_t count = 0) {
    return [=](PedalEditor& pedal) { pedal.pedal().injectFault(fault, count); };
}

// Pulled out at the first pause of the wait for the answer.
std::function<void(PedalEditor&)> UnplugWhileWaiting(std::function<void(PedalEditor&)> before) {
    return [=](PedalEditor& pedal) {
        if (before) before(pedal);
        pedal.editor.linkEnvironment.onSleep = [&pedal](std::chrono::milliseconds) {
            pedal.pedal().unplug();
        };
    };
}

void RunExchange(PedalEditor& pedal, Exchange exchange) {
    switch (exchange) {
        case Exchange::StatusRequest:
            pedal.main().btnRequest->click();
            break;
        case Exchange::AlgorithmUpload:
            pedal.main().btnUploadClick();
            break;
        case Exchange::EepromDump:
            pedal.editor.console().btnReadEEPROM->click();
            break;
    }
}

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultMatrix, OneMessageABoundedWaitTheRightControlsAndTheNextExchangeWorks) {
    const FaultCase& c = GetParam();
    PedalEditor pedal;
    pedal.link();
    TformMain& main = pedal.main();
    pedal.context().device.ErrorReportsOn = true;
    main.MIDIChannelItems[0]->setChecked(false);  // only a fresh reply checks OMNI again
    const ControlStates linked = EnabledControls(main);
    pedal.editor.dialogs.clear();
    c.inject(pedal);
    const auto start = pedal.editor.linkEnvironment.now();

    RunExchange(pedal, c.exchange);
    pedal.editor.linkEnvironment.onSleep = nullptr;
    main.Timer_USB_ReadTimer();

    EXPECT_EQ(pedal.editor.dialogs.messages, c.messages)
        << pedal.editor.dialogs.messages.join(" | ").toStdString();
    if (!c.status.isEmpty()) {
        EXPECT_EQ(main.lblStatus->text(), c.status);
    }
    EXPECT_LE(pedal.editor.linkEnvironment.now() - start, c.longestWait);
    EXPECT_FALSE(pedal.context().PedalExchangeRunning);
    EXPECT_FALSE(pedal.context().LoadingFromPedal);
    EXPECT_EQ(pedal.context().DeviceLinked, c.staysLinked);
    if (c.staysLinked) {
        EXPECT_EQ(EnabledControls(main), linked);
        EXPECT_TRUE(main.Timer_USB_Read->isActive());
    } else {
        EXPECT_EQ(EnabledControls(main),
                  OnlyEnabled({"Scan", "Link", "Upgrade Mode", "Effect list"}, main));
        EXPECT_FALSE(pedal.effects().dialDry->isEnabled());
    }
    const bool freshReply = c.messages.isEmpty() && c.exchange == Exchange::StatusRequest;
    EXPECT_EQ(main.MIDIChannelItems[0]->isChecked(), freshReply)
        << "values are shown as read only from a whole reply";

    // The next status request, once the pedal is back and the line mended, is read whole.
    pedal.pedal().injectFault(Fault::None);
    pedal.pedal().setLineSettings({});
    if (!c.staysLinked) {
        pedal.pedal().replug();
        main.menuDisconnect->trigger();
        pedal.link();
    }
    pedal.editor.dialogs.clear();
    main.MIDIChannelItems[0]->setChecked(false);
    pedal.clearWire();
    main.btnRequest->click();
    EXPECT_TRUE(pedal.editor.dialogs.messages.isEmpty())
        << pedal.editor.dialogs.messages.join("|").toStdString();
    EXPECT_EQ(pedal.wire(), Bytes({0x02, 0x00}));
    EXPECT_TRUE(main.MIDIChannelItems[0]->isChecked());
    EXPECT_EQ(EnabledControls(main), linked);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultMatrix,
    ::testing::Values(FaultCase{"Garbage",
                                Exchange::StatusRequest,
                                Inject(Fault::Garbage),
                                {"The pedal's status reply was incomplete (0 of 102 numbers)."},
                                {},
                                true,
                                kStatusWait},
                      FaultCase{"ExtraBytes",
                                Exchange::StatusRequest,
                                Inject(Fault::ExtraBytes),
                                {},
                                {},
                                true,
                                kStatusWait},
                      FaultCase{"SplitReply",
                                Exchange::StatusRequest,
                                Inject(Fault::SplitReply),
                                {},
                                {},
                                true,
                                kStatusWait},
                      FaultCase{"WrongBaud",
                                Exchange::StatusRequest,
                                LineAt(9600, 0),
                                {kNoStatusAnswer},
                                {},
                                true,
                                kStatusWait},
                      FaultCase{"WrongParity",
                                Exchange::StatusRequest,
                                LineAt(115200, 2),
                                {kNoStatusAnswer},
                                {},
                                true,
                                kStatusWait},
                      FaultCase{"UnplugMidStatusRequest",
                                Exchange::StatusRequest,
                                UnplugWhileWaiting({}),
                                {kLost},
                                {},
                                false,
                                kStatusWait},
                      // An unanswered upload says so on the status line; the console has the why.
                      FaultCase{"UploadNotAnswered",
                                Exchange::AlgorithmUpload,
                                Inject(Fault::Silence),
                                {},
                                kUploadFailed,
                                true,
                                kUploadWait},
                      FaultCase{"UnplugMidUpload",
                                Exchange::AlgorithmUpload,
                                UnplugWhileWaiting({}),
                                {kLost},
                                kUploadFailed,
                                false,
                                kUploadWait},
                      FaultCase{"UnplugMidDump",
                                Exchange::EepromDump,
                                UnplugWhileWaiting(Inject(Fault::ShortDump, 5001)),
                                {kLost},
                                {},
                                false,
                                kDumpWait}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
