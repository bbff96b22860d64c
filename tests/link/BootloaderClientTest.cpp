#include "FakeD2xx.h"
#include "LinkFixture.h"
#include "PedalToolsFixture.h"
#include "link/BootloaderClient.h"
#include "link/StatusRequest.h"
#include "protocol/HexText.h"
#include "sim/PedalSimulator.h"
#include "tools/TestImages.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using varkunda::sim::BootloaderCommand;
using varkunda::sim::BootloaderFault;
using varkunda::sim::BootloaderFaultAction;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The pedal sent into its bootloader by the enter-bootloader message, and a client.
class BootloaderClientTest : public PedalToolsFixture {
  protected:
    BootloaderClientTest() {
        EXPECT_TRUE(transport.Send("0500010203040506").ok());
        pedal().clearWireLog();
    }

    static const Bytes& Image12() { return varkunda::images::FirmwareTestImage(12); }
    BootloaderResult writeImage12() {
        if (auto error = client.Connect()) return error;
        if (auto error = client.EraseAll()) return error;
        return client.WriteImage(Image12());
    }

    BootloaderClient client{transport};
};

TEST_F(BootloaderClientTest, AFullRunInstallsTheImageAndThePedalReportsItAfterGo) {
    std::vector<std::size_t> progress;
    ASSERT_FALSE(client.Connect());
    ASSERT_FALSE(client.EraseAll());
    ASSERT_FALSE(client.WriteImage(Image12(), [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 208u);
        progress.push_back(done);
    }));
    ASSERT_FALSE(client.VerifyImage(Image12()));
    ASSERT_FALSE(client.WriteVersionRecord(12));
    const Bytes hostBytes = pedal().hostBytes();
    ASSERT_FALSE(client.Go());

    EXPECT_EQ(progress.size(), 209u);
    EXPECT_EQ(progress.back(), 208u);
    EXPECT_EQ(pedal().readFlash(0x08000000, Image12().size()), Image12());
    const std::string wire = varkunda::protocol::BytesToHexText(hostBytes);
    EXPECT_EQ(wire.substr(0, 10), "7F43BCFF00");
    EXPECT_NE(wire.find("31CE0800000008"), std::string::npos);
    EXPECT_NE(wire.find("31CE08000100"), std::string::npos) << "the second chunk";
    EXPECT_NE(wire.find("31CE0801FC00F507000000000000000C0B"), std::string::npos);
    // The last chunk of 53136 bytes holds 144 bytes: N = 8F.
    EXPECT_NE(wire.find("31CE0800CF00C78F"), std::string::npos);
    const std::string go = varkunda::protocol::BytesToHexText(pedal().hostBytes());
    EXPECT_EQ(go.substr(go.size() - 14), "21DE0800000008");

    access.SetLineParameters(LineMode::NormalLine);
    access.SetDeviceDataCharacteristics();
    const auto status = RequestStatus(transport);
    ASSERT_TRUE(status.reply.has_value());
    EXPECT_EQ(status.reply->firmware, 12);
}

TEST_F(BootloaderClientTest, TheConsoleLinesOfAChunk) {
    ASSERT_FALSE(client.Connect());
    printed.clear();
    ASSERT_FALSE(client.WriteImage(Bytes{0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(printed,
              (std::vector<std::string>{
                  "SEND WRITE COMMAND", "num of bytes received: 1", "SEND ADDRESS + CHECKSUM",
                  "Address: 08000000", "address checksum: 08", "num of bytes received: 1",
                  "SEND N BYTE + DATA + CHECKSUM", "N_byte: 03", "chunk size: 4",
                  "data checksum: 07", "num of bytes received: 1", ""}));
}

TEST_F(BootloaderClientTest, AStrayZeroBeforeTheFirstAckIsTolerated) {
    pedal().injectBootloaderFault(
        {.action = BootloaderFaultAction::StrayZero, .step = varkunda::sim::BootloaderStep::Sync});
    EXPECT_FALSE(client.Connect());
}

using BabblingLineTest = varkunda::link::testing::LinkFixture<varkunda::link::testing::FakeD2xx>;

TEST_F(BabblingLineTest, ALineThatBringsOnlyZerosFailsTheSyncWithinItsTimeLimit) {
    // A zero on every poll for ten seconds, then silence.
    environment.onSleep = [this](std::chrono::milliseconds) {
        if (environment.now() < 10s) driver.queued.push_back(0x00);
    };
    BootloaderClient client(transport);
    const auto error = client.Connect();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, BootloaderStep::Sync);
    EXPECT_EQ(error->failure, BootloaderFailure::UnexpectedAnswer);
    EXPECT_EQ(error->answer, 0x00);
    EXPECT_LE(environment.now(), bootloader::kAckTimeout + kFirstBytePollInterval);
}

TEST_F(BootloaderClientTest, AFaultStopsTheRunAtItsStepAndChunk) {
    struct Case {
        const char* what;
        BootloaderFaultAction action;
        varkunda::sim::BootloaderStep at;
        BootloaderFailure failure;
        BootloaderStep step;
    };
    const Case cases[] = {
        {"NACK of the data", BootloaderFaultAction::Nack, varkunda::sim::BootloaderStep::Data,
         BootloaderFailure::NotAcknowledged, BootloaderStep::WriteData},
        {"silent after the address", BootloaderFaultAction::Silence,
         varkunda::sim::BootloaderStep::Address, BootloaderFailure::NoAnswer,
         BootloaderStep::WriteAddress},
        {"NACK of the command", BootloaderFaultAction::Nack, varkunda::sim::BootloaderStep::Command,
         BootloaderFailure::NotAcknowledged, BootloaderStep::WriteCommand},
    };
    ASSERT_FALSE(client.Connect());
    for (const Case& c : cases) {
        pedal().injectBootloaderFault({.action = c.action,
                                       .step = c.at,
                                       .command = BootloaderCommand::WriteMemory,
                                       .occurrence = 5});
        ASSERT_FALSE(client.EraseAll()) << c.what;
        const auto error = client.WriteImage(Image12());
        ASSERT_TRUE(error.has_value()) << c.what;
        EXPECT_EQ(error->failure, c.failure) << c.what;
        EXPECT_EQ(error->step, c.step) << c.what;
        EXPECT_EQ(error->chunk, 5u) << c.what;
        // A new run starts from the erase.
        pedal().injectFault(varkunda::sim::Fault::None);
    }
}

TEST_F(BootloaderClientTest, WrongReadBackDataFailsAtItsChunk) {
    ASSERT_FALSE(writeImage12());
    pedal().injectBootloaderFault({.action = BootloaderFaultAction::WrongData,
                                   .step = varkunda::sim::BootloaderStep::Data,
                                   .command = BootloaderCommand::ReadMemory,
                                   .occurrence = 3});
    const auto error = client.VerifyImage(Image12());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->failure, BootloaderFailure::ReadBackDiffers);
    EXPECT_EQ(error->chunk, 3u);
    EXPECT_EQ(error->offset, 0u);
}

TEST_F(BootloaderClientTest, ImagesAndNumbersOutsideTheFlashAreRefusedBeforeAnythingIsSent) {
    EXPECT_EQ(client.WriteImage(Bytes{})->failure, BootloaderFailure::BadImage);
    EXPECT_EQ(client.WriteImage(Bytes(131073, 0xAA))->failure, BootloaderFailure::BadImage);
    EXPECT_EQ(client.WriteVersionRecord(4)->failure, BootloaderFailure::BadFirmwareNumber);
    EXPECT_EQ(client.WriteVersionRecord(14)->failure, BootloaderFailure::BadFirmwareNumber);
    EXPECT_TRUE(pedal().hostBytes().empty());
}

}  // namespace
