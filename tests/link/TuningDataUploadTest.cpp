#include "PedalToolsFixture.h"
#include "link/TuningDataUpload.h"
#include "protocol/HexText.h"
#include "protocol/Tunings.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

using TuningDataUpload = PedalToolsFixture;

TEST_F(TuningDataUpload, BypassPauseThenTheWholeTableInOneWrite) {
    const std::string text = varkunda::protocol::TuningDataText();
    const SendResult sent = UploadTuningData(transport, text);

    ASSERT_TRUE(sent.ok());
    EXPECT_EQ(sent.bytesWritten, 641u);
    const auto received = writes();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], (Bytes{0x0D, 0x01}));
    ASSERT_EQ(received[1].size(), 641u);
    EXPECT_EQ(received[1].front(), 0x0E);
    EXPECT_EQ(Bytes(received[1].begin() + 1, received[1].end()),
              varkunda::protocol::TuningDataBytes());
    EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{400ms, 100ms}));
    EXPECT_EQ(device.calls, (std::vector<std::string>{"write 2", "purge TX", "write 641"}));
    EXPECT_EQ(printed, std::vector<std::string>{"num_of_bytes: 641"});
    EXPECT_EQ(pedal().tuningData(), varkunda::protocol::TuningDataBytes());
    EXPECT_EQ(pedal().state().bypass, 1) << "the bypass stays on";
}

TEST_F(TuningDataUpload, AnythingButTheWholeTableSendsNothing) {
    const std::string text = varkunda::protocol::TuningDataText();
    for (const std::string& bad :
         {text.substr(0, 1278), text + "00", text.substr(0, 1276) + "XY00"}) {
        const SendResult sent = UploadTuningData(transport, bad);
        EXPECT_FALSE(sent.ok());
        EXPECT_TRUE(writes().empty());
        EXPECT_TRUE(pauses.empty());
    }
}

TEST_F(TuningDataUpload, AFailedBypassStopsBeforeTheTable) {
    pedal().unplug();
    const SendResult sent = UploadTuningData(transport, varkunda::protocol::TuningDataText());
    EXPECT_FALSE(sent.ok());
    EXPECT_EQ(sent.bytesExpected, 2u);
    EXPECT_TRUE(pauses.empty());
    EXPECT_TRUE(printed.empty());
}

}  // namespace
