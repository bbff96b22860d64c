// Pedals plugged in and pulled out while the editor runs, as the system reports them
// (several events for one plug): an arrival offers the pedal once as Scan does, a pedal
// pulled out while linked goes unlinked, and an arrival while linked changes nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "ControlStates.h"
#include "PedalFixture.h"
#include "link/backends/SimulatedArrivalWatcher.h"

using namespace pedal_test;
using Answer = Dialogs::Answer;

namespace {

const QString kOffer = "Varkunda TZ5 found, link the device now?";
const QString kLostMessage =
    "The Varkunda TZ5 was disconnected. Plug it in again and choose Connection > Scan.";

// The editor started with its pedals pulled out; arrivals are told as soon as the
// event loop runs (no settling time, so no test waits for real).
class Arrivals {
  public:
    explicit Arrivals(std::vector<varkunda::sim::PedalIdentity> identities = {{}})
        : pedal(std::move(identities)), arrivals(std::chrono::milliseconds(0)) {
        for (std::size_t i = 0; i < pedal.device.pedalCount(); ++i) pedal.pedal(i).unplug();
        pedal.editor.arrivals = &arrivals;
        pedal.editor.restart();
        pedal.editor.dialogs.clear();
    }

    // Runs the event loop as the window would between two clicks.
    static void settle() {
        for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
    }

    TformMain& main() { return pedal.main(); }
    ScriptedDialogs& dialogs() { return pedal.editor.dialogs; }

    PedalEditor pedal;
    varkunda::link::SimulatedArrivalWatcher arrivals;
};

struct ArrivalCase {
    const char* name;
    Answer answer;
    bool linked;
    const char* label;
    int statusRequests;
};

class ArrivalWhileUnlinked : public ::testing::TestWithParam<ArrivalCase> {};

// The events of one plug give one offer; the plug itself returns at once, the offer
// comes from the event loop.
TEST_P(ArrivalWhileUnlinked, OffersThePedalOnceAsScanDoes) {
    const ArrivalCase& c = GetParam();
    Arrivals editor;
    ASSERT_EQ(editor.main().lblDeviceName->text(), "No device found");
    ASSERT_FALSE(editor.main().menuConnect->isEnabled());
    editor.dialogs().answer({c.answer});

    editor.arrivals.plugIn(editor.pedal.pedal());
    EXPECT_TRUE(editor.dialogs().questions.isEmpty());
    Arrivals::settle();

    EXPECT_EQ(editor.dialogs().questions, QStringList({kOffer}));
    EXPECT_TRUE(editor.dialogs().messages.isEmpty());
    EXPECT_EQ(editor.pedal.context().DeviceLinked, c.linked);
    EXPECT_EQ(editor.main().lblDeviceName->text(), c.label);
    EXPECT_EQ(editor.pedal.statusRequests(), c.statusRequests);
    EXPECT_EQ(editor.main().menuConnect->isEnabled(), !c.linked);
}

INSTANTIATE_TEST_SUITE_P(Answers, ArrivalWhileUnlinked,
                         ::testing::Values(ArrivalCase{"Yes", Answer::Yes, true,
                                                       "Varkunda TZ5 linked", 1},
                                           ArrivalCase{"No", Answer::No, false, "Varkunda TZ5", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// A second bridge plugged in while a pedal is linked is neither offered nor touched.
TEST(ArrivalWhileLinked, ChangesNothing) {
    Arrivals editor({Identity("FT0001", "Varkunda TZ5"), Identity("FT0002", "Second TZ5")});
    editor.dialogs().answer({Answer::Yes});
    editor.arrivals.plugIn(editor.pedal.pedal(0));
    Arrivals::settle();
    ASSERT_TRUE(editor.pedal.context().DeviceLinked);
    editor.dialogs().clear();
    editor.pedal.clearWire();
    const auto enabledBefore = EnabledControls(editor.main());

    editor.arrivals.plugIn(editor.pedal.pedal(1));
    Arrivals::settle();

    EXPECT_TRUE(editor.dialogs().questions.isEmpty());
    EXPECT_TRUE(editor.dialogs().messages.isEmpty());
    EXPECT_TRUE(editor.pedal.context().DeviceLinked);
    EXPECT_EQ(editor.pedal.context().DeviceSerial, "FT0001");
    EXPECT_EQ(editor.main().lblDeviceName->text(), "Varkunda TZ5 linked");
    EXPECT_EQ(EnabledControls(editor.main()), enabledBefore);
    EXPECT_TRUE(editor.pedal.wire(1).empty());
}

// Pulled out while linked: the lost pedal's one message and the unlinked state at once,
// before any click; plugged in again, it is offered and linked as the first time.
TEST(PulledOutWhileLinked, GoesUnlinkedAndIsOfferedAgainWhenBack) {
    Arrivals editor;
    editor.dialogs().answer({Answer::Yes});
    editor.arrivals.plugIn(editor.pedal.pedal());
    Arrivals::settle();
    ASSERT_TRUE(editor.pedal.context().DeviceLinked);
    editor.main().Timer_USB_Read->stop();  // the removal alone is to find the loss
    editor.dialogs().clear();

    editor.arrivals.pullOut(editor.pedal.pedal());
    Arrivals::settle();

    EXPECT_EQ(editor.dialogs().messages, QStringList({kLostMessage}));
    EXPECT_FALSE(editor.pedal.context().DeviceLinked);
    EXPECT_EQ(editor.main().lblDeviceName->text(), "Varkunda TZ5");
    EXPECT_EQ(EnabledControls(editor.main()),
              OnlyEnabled({"Scan", "Link", "Upgrade Mode", "Effect list"}, editor.main()));

    editor.dialogs().clear();
    editor.pedal.clearWire();
    editor.dialogs().answer({Answer::Yes});
    editor.arrivals.plugIn(editor.pedal.pedal());
    Arrivals::settle();

    EXPECT_EQ(editor.dialogs().questions, QStringList({kOffer}));
    EXPECT_TRUE(editor.dialogs().messages.isEmpty());
    EXPECT_TRUE(editor.pedal.context().DeviceLinked);
    EXPECT_EQ(editor.pedal.statusRequests(), 1);
}

// Pulled out and plugged in again within one settling time: the old link is let go of
// before the new device is offered.
TEST(PulledOutAndBackAtOnce, UnlinksThenOffers) {
    Arrivals editor;
    editor.dialogs().answer({Answer::Yes});
    editor.arrivals.plugIn(editor.pedal.pedal());
    Arrivals::settle();
    editor.dialogs().clear();
    editor.dialogs().answer({Answer::Yes});

    editor.arrivals.pullOut(editor.pedal.pedal());
    editor.arrivals.plugIn(editor.pedal.pedal());
    Arrivals::settle();

    EXPECT_EQ(editor.dialogs().messages, QStringList({kLostMessage}));
    EXPECT_EQ(editor.dialogs().questions, QStringList({kOffer}));
    EXPECT_TRUE(editor.pedal.context().DeviceLinked);
    EXPECT_EQ(editor.main().lblDeviceName->text(), "Varkunda TZ5 linked");
}

// The only device pulled out while not linked: the window shows that none is there.
TEST(PulledOutWhileUnlinked, ShowsNoDeviceFound) {
    Arrivals editor;
    editor.dialogs().answer({Answer::No});
    editor.arrivals.plugIn(editor.pedal.pedal());
    Arrivals::settle();
    ASSERT_TRUE(editor.main().menuConnect->isEnabled());
    editor.dialogs().clear();

    editor.arrivals.pullOut(editor.pedal.pedal());
    Arrivals::settle();

    EXPECT_TRUE(editor.dialogs().messages.isEmpty());
    EXPECT_TRUE(editor.dialogs().questions.isEmpty());
    EXPECT_EQ(editor.main().lblDeviceName->text(), "No device found");
    EXPECT_FALSE(editor.main().menuConnect->isEnabled());
    EXPECT_TRUE(editor.main().menuScan->isEnabled());
}

}  // namespace
