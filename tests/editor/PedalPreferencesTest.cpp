// The pedal-wide settings of the Settings menu: the MIDI channel and whether the pedal
// stores its bypass state, sent as clicked and shown as the status reply reports them.
#include <gtest/gtest.h>

#include "PedalFixture.h"

using namespace pedal_test;

namespace {

QAction* ChannelItem(TformMain& main, const QString& caption) {
    for (QAction* item : std::as_const(main.MIDIChannelItems))
        if (item->text() == caption) return item;
    return nullptr;
}

QList<bool> ChannelMarks(const TformMain& main) {
    QList<bool> marks;
    for (const QAction* item : main.MIDIChannelItems) marks << item->isChecked();
    return marks;
}

struct ChannelCase {
    const char* caption;
    Bytes message;
    const char* logged;
};

class MidiChannelClick : public ::testing::TestWithParam<ChannelCase> {};

// The channel just sent carries the one check mark; the next status reply shows what
// the pedal holds.
TEST_P(MidiChannelClick, SendsTheChannelAndTicksIt) {
    const ChannelCase& c = GetParam();
    PedalEditor pedal;
    pedal.link();
    QList<bool> marks;
    for (const QAction* item : std::as_const(pedal.main().MIDIChannelItems))
        marks << (item->text() == c.caption);
    pedal.clearWire();
    pedal.markConsole();

    ChannelItem(pedal.main(), c.caption)->trigger();

    EXPECT_EQ(pedal.wire(), c.message);
    EXPECT_EQ(pedal.pedal().state().midiChannel, c.message[1]);
    EXPECT_EQ(pedal.consoleSinceMark(),
              QStringList({QString("Midi channel: ") + c.caption, c.logged}));
    EXPECT_EQ(ChannelMarks(pedal.main()), marks);
}

INSTANTIATE_TEST_SUITE_P(Channels, MidiChannelClick,
                         ::testing::Values(ChannelCase{"10", {0x07, 0x0A}, "070A"},
                                           ChannelCase{"OMNI", {0x07, 0x00}, "0700"},
                                           ChannelCase{"1", {0x07, 0x01}, "0701"},
                                           ChannelCase{"16", {0x07, 0x10}, "0710"}),
                         [](const auto& info) { return std::string(info.param.caption); });

TEST(MidiChannelClick, MidiLineIsAppendedWithoutScrolling) {
    PedalEditor pedal;
    pedal.link();
    QStringList scrolling, direct;
    pedal.context().ConsolePrint = [&](const QString& line) { scrolling << line; };
    pedal.context().ConsoleAppendDirect = [&](const QString& line) { direct << line; };
    ChannelItem(pedal.main(), "10")->trigger();
    EXPECT_EQ(direct, QStringList({"Midi channel: 10"}));
    EXPECT_EQ(scrolling, QStringList({"070A"}));
}

struct BypassCase {
    const char* name;
    QAction* TformMain::*item;
    Bytes message;
    const char* logged;
    bool store;
    std::uint8_t reported;  // what the pedal then reports in its status reply
};

class BypassStorageClick : public ::testing::TestWithParam<BypassCase> {};

// Clicking the item that is already checked sends its message again.
TEST_P(BypassStorageClick, ChecksOneItemAndSendsEachClick) {
    const BypassCase& c = GetParam();
    PedalEditor pedal;
    pedal.link();
    pedal.clearWire();
    pedal.markConsole();

    (pedal.main().*c.item)->trigger();
    (pedal.main().*c.item)->trigger();

    Bytes twice = c.message;
    twice.insert(twice.end(), c.message.begin(), c.message.end());
    EXPECT_EQ(pedal.wire(), twice);
    EXPECT_EQ(pedal.consoleSinceMark(), QStringList({c.logged, c.logged}));
    EXPECT_EQ(pedal.main().menuStoreBypassStatus->isChecked(), c.store);
    EXPECT_EQ(pedal.main().menuDoNotStoreBypassStatus->isChecked(), !c.store);
    EXPECT_EQ(pedal.pedal().statusNumbers()[varkunda::protocol::kStatusStoreBypassIndex],
              c.reported);
}

INSTANTIATE_TEST_SUITE_P(
    Items, BypassStorageClick,
    ::testing::Values(
        BypassCase{"Store", &TformMain::menuStoreBypassStatus, {0x10, 0x01}, "1001", true, 1},
        BypassCase{
            "DoNotStore", &TformMain::menuDoNotStoreBypassStatus, {0x10, 0xFF}, "10FF", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReportedCase {
    std::uint8_t midiChannel;
    int checkedChannelItem;  // -1: none
    std::uint8_t storeBypass;
    bool storeChecked, doNotStoreChecked;  // both start unchecked: a value that changes nothing
};

class ReportedSettings : public ::testing::TestWithParam<ReportedCase> {};

TEST_P(ReportedSettings, StatusReplySetsTheCheckMarks) {
    const ReportedCase& c = GetParam();
    PedalEditor pedal;
    pedal.pedal().state().midiChannel = c.midiChannel;
    pedal.pedal().state().storeBypassStatus = c.storeBypass;
    for (QAction* item : pedal.main().MIDIChannelItems) item->setChecked(true);
    pedal.main().menuStoreBypassStatus->setChecked(false);
    pedal.main().menuDoNotStoreBypassStatus->setChecked(false);

    pedal.link();

    QList<bool> expected(17, false);
    if (c.checkedChannelItem >= 0) expected[c.checkedChannelItem] = true;
    EXPECT_EQ(ChannelMarks(pedal.main()), expected);
    EXPECT_TRUE(
        pedal.editor.consoleLines().contains(QString("MIDI channel: %1").arg(c.midiChannel)));
    EXPECT_EQ(pedal.main().menuStoreBypassStatus->isChecked(), c.storeChecked);
    EXPECT_EQ(pedal.main().menuDoNotStoreBypassStatus->isChecked(), c.doNotStoreChecked);
}

INSTANTIATE_TEST_SUITE_P(Replies, ReportedSettings,
                         ::testing::Values(ReportedCase{0, 0, 1, true, false},
                                           ReportedCase{255, 0, 0, false, true},
                                           ReportedCase{16, 16, 0xFF, false, false},
                                           ReportedCase{17, -1, 2, false, false}));

}  // namespace
