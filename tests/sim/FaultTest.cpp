#include <gtest/gtest.h>

#include <algorithm>

#include "PedalTestSupport.h"

namespace varkunda::sim {
namespace {

using namespace testing;

TEST(Faults, SilenceWithholdsEveryReplyUntilCleared) {
    PedalSimulator pedal;
    pedal.injectFault(Fault::Silence);
    EXPECT_TRUE(RequestStatus(pedal).empty());
    Send(pedal, "0C5000000000");
    EXPECT_EQ(pedal.hostReadable(), 0u);
    Send(pedal, "070A");
    EXPECT_EQ(pedal.state().midiChannel, 10) << "a silent pedal still takes its messages";
    pedal.injectFault(Fault::None);
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

TEST(Faults, GarbageReplacesTheNextReplyOnly) {
    PedalSimulator pedal;
    pedal.injectFault(Fault::Garbage);
    Send(pedal, "0200");
    const auto garbage = ReadAll(pedal);
    ASSERT_FALSE(garbage.empty());
    const std::string hex = protocol::BytesToHexText(garbage);
    EXPECT_EQ(hex.find_first_of("AD"), std::string::npos) << "no line end for a reader to find";
    EXPECT_TRUE(std::none_of(garbage.begin(), garbage.end(),
                             [](std::uint8_t b) { return b >= '0' && b <= '9'; }));
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

TEST(Faults, GarbageAlsoSpoilsAnEepromDump) {
    PedalSimulator pedal;
    pedal.injectFault(Fault::Garbage);
    Send(pedal, "0C5000000000");
    const auto dump = ReadAll(pedal);
    EXPECT_EQ(dump.size(), 16385u);
    EXPECT_NE(dump[0], 0xAB);
}

TEST(Faults, ShortReplyCutsTheNextStatusReplyOnly) {
    for (const auto& [count, numbers] : {std::pair{0u, 10u}, {1u, 1u}, {25u, 25u}}) {
        PedalSimulator pedal;
        pedal.injectFault(Fault::ShortReply, count);
        Send(pedal, "0C5000000000");
        EXPECT_EQ(ReadAll(pedal).size(), 16385u) << "a dump is not a status reply";
        const auto first = RequestStatus(pedal);
        const auto full = pedal.statusNumbers();
        EXPECT_EQ(first, std::vector<int>(full.begin(), full.begin() + numbers));
        EXPECT_EQ(RequestStatus(pedal).size(), 102u);
    }
}

TEST(Faults, ExtraBytesFollowTheNextReplyOnly) {
    PedalSimulator pedal;
    const auto whole = [&] {
        Send(pedal, "0200");
        return ReadAll(pedal);
    };
    const auto plain = whole();
    pedal.injectFault(Fault::ExtraBytes, 3);
    auto extra = whole();
    ASSERT_EQ(extra.size(), plain.size() + 3);
    EXPECT_EQ(std::vector(extra.begin(), extra.begin() + plain.size()), plain);
    EXPECT_EQ(std::string(extra.end() - 3, extra.end()), "#?~");
    EXPECT_EQ(whole(), plain);
}

TEST(Faults, SplitReplyComesAFewBytesPerReadThenWholeAgain) {
    PedalSimulator pedal;
    pedal.injectFault(Fault::SplitReply, 2);
    Send(pedal, "0200");
    std::vector<std::uint8_t> reply;
    std::uint8_t piece[64];
    int reads = 0;
    while (pedal.hostReadable() > 0) {
        EXPECT_LE(pedal.hostReadable(), 2u);
        const std::size_t n = pedal.hostRead(piece, sizeof piece);
        reply.insert(reply.end(), piece, piece + n);
        ++reads;
    }
    EXPECT_EQ(DecimalNumbers(reply).size(), 102u);
    EXPECT_EQ(reads, static_cast<int>((reply.size() + 1) / 2));
    Send(pedal, "0200");
    EXPECT_GT(pedal.hostReadable(), 2u) << "the next reply comes whole";
}

TEST(Faults, ShortDumpCutsTheNextEepromDumpOnly) {
    PedalSimulator pedal;
    pedal.injectFault(Fault::ShortDump, 1000);
    EXPECT_EQ(RequestStatus(pedal).size(), 102u) << "a status reply is not a dump";
    Send(pedal, "0C5100000000");
    const auto cut = ReadAll(pedal);
    ASSERT_EQ(cut.size(), 1000u);
    EXPECT_EQ(cut[0], 0xAB);
    const auto chip = pedal.eeprom(0x51);
    EXPECT_TRUE(std::equal(cut.begin() + 1, cut.end(), chip.begin()));
    Send(pedal, "0C5100000000");
    EXPECT_EQ(ReadAll(pedal).size(), 16385u);
}

TEST(Faults, UnplugAfterBytesTakesThatManyThenDisappears) {
    PedalSimulator pedal;
    pedal.injectFault(Fault::UnplugAfterBytes, 3);
    const auto first = Bytes("070A");
    EXPECT_EQ(pedal.hostWritePartial(first.data(), first.size()), 2u);
    EXPECT_FALSE(pedal.unplugged());
    const auto second = Bytes("0D01");
    EXPECT_EQ(pedal.hostWritePartial(second.data(), second.size()), 1u);
    EXPECT_TRUE(pedal.unplugged());
    EXPECT_EQ(pedal.hostBytes(), Bytes("070A0D"));
    EXPECT_EQ(pedal.state().midiChannel, 10);
    EXPECT_EQ(pedal.state().bypass, 0);
    EXPECT_EQ(pedal.hostWritePartial(second.data(), second.size()), 0u);
    EXPECT_TRUE(RequestStatus(pedal).empty());
}

TEST(Faults, UnplugAfterZeroBytesUnplugsAtOnceAndReplugBringsItBack) {
    PedalSimulator pedal;
    const auto generation = pedal.plugGeneration();
    pedal.injectFault(Fault::UnplugAfterBytes, 0);
    EXPECT_TRUE(pedal.unplugged());
    pedal.replug();
    EXPECT_FALSE(pedal.unplugged());
    EXPECT_EQ(pedal.plugGeneration(), generation + 1);
    EXPECT_EQ(RequestStatus(pedal).size(), 102u);
}

TEST(Faults, StatusOverrideReportsTheGivenNumbersUntilCleared) {
    PedalSimulator pedal;
    pedal.state().midiChannel = 7;
    const auto own = RequestStatus(pedal);
    pedal.overrideStatusNumbers({{0, 12}, {3, 0x0A}, {500, 1}});

    for (int request = 0; request < 2; ++request) {
        auto expected = own;
        expected[0] = 12;
        expected[3] = 0x0A;
        EXPECT_EQ(RequestStatus(pedal), expected) << "request " << request;
    }
    EXPECT_EQ(pedal.statusNumbers()[3], 0x0A);
    EXPECT_EQ(pedal.state().midiChannel, 7) << "only the reply says otherwise";
    EXPECT_TRUE(AnyEventContains(pedal, "fault StatusOverride"));

    // Other faults still spoil the overridden reply.
    pedal.injectFault(Fault::ShortReply, 5);
    EXPECT_EQ(RequestStatus(pedal), (std::vector<int>{12, own[1], own[2], 0x0A, own[4]}));

    pedal.injectFault(Fault::None);
    EXPECT_EQ(RequestStatus(pedal), own);
    pedal.overrideStatusNumbers({{3, 1}});
    pedal.overrideStatusNumbers({});
    EXPECT_EQ(RequestStatus(pedal), own);
}

TEST(Faults, UnpluggingLosesRepliesNotYetRead) {
    PedalSimulator pedal;
    Send(pedal, "0200");
    ASSERT_GT(pedal.hostReadable(), 0u);
    pedal.unplug();
    pedal.replug();
    EXPECT_EQ(pedal.hostReadable(), 0u);
}

TEST(Faults, ReplugForgetsBypassUnlessItIsStored) {
    PedalSimulator pedal;
    Send(pedal, "0D01");
    pedal.replug();
    EXPECT_EQ(pedal.state().bypass, 0);
    Send(pedal, "1001");
    Send(pedal, "0D01");
    pedal.replug();
    EXPECT_EQ(pedal.state().bypass, 1);
}

}  // namespace
}  // namespace varkunda::sim
