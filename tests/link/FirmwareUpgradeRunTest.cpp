#include "PedalToolsFixture.h"
#include "link/FirmwareUpgrade.h"
#include "protocol/HexText.h"
#include "sim/PedalSimulator.h"
#include "tools/TestImages.h"

using namespace varkunda::link;
using varkunda::sim::BootloaderCommand;
using varkunda::sim::BootloaderFaultAction;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The pedal in its bootloader, connected.
class FirmwareUpgradeRun : public PedalToolsFixture {
  protected:
    FirmwareUpgradeRun() {
        EXPECT_TRUE(transport.Send("0500010203040506").ok());
        EXPECT_FALSE(BootloaderClient(transport).Connect());
        pedal().clearWireLog();
    }
    bool Sent(const Bytes& bytes) {
        for (const auto& record : pedal().wireLog())
            if (record.bytes == bytes) return true;
        return false;
    }
    static const Bytes& Image13() { return varkunda::images::FirmwareTestImage(13); }
};

TEST_F(FirmwareUpgradeRun, BadImagesAndNumbersAreRefusedBeforeTheErase) {
    struct Case {
        Bytes image;
        unsigned number;
        BootloaderFailure failure;
    };
    const Case cases[] = {{{}, 13, BootloaderFailure::BadImage},
                          {Bytes(131073, 0xAA), 13, BootloaderFailure::BadImage},
                          {Image13(), 4, BootloaderFailure::BadFirmwareNumber},
                          {Image13(), 14, BootloaderFailure::BadFirmwareNumber}};
    for (const Case& c : cases) {
        const BootloaderResult result = RunFirmwareUpgrade(transport, c.image, c.number);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->failure, c.failure);
    }
    EXPECT_TRUE(pedal().hostBytes().empty());
}

TEST_F(FirmwareUpgradeRun, AFailedReadBackStopsBeforeTheRecordAndNamesTheChunk) {
    pedal().injectBootloaderFault({BootloaderFaultAction::WrongData,
                                   varkunda::sim::BootloaderStep::Data,
                                   BootloaderCommand::ReadMemory, 100});
    bool beforeGo = false;
    const BootloaderResult result =
        RunFirmwareUpgrade(transport, Image13(), 13, {.beforeGo = [&] { beforeGo = true; }});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->failure, BootloaderFailure::ReadBackDiffers);
    EXPECT_EQ(BootloaderErrorText(*result),
              "The read-back data of chunk 100 differs from the image at byte 0.");
    EXPECT_FALSE(beforeGo);
    EXPECT_FALSE(Sent({0x08, 0x01, 0xFC, 0x00, 0xF5})) << "no version record";
    EXPECT_FALSE(Sent({0x21, 0xDE})) << "no Go";
}

TEST_F(FirmwareUpgradeRun, ABootloaderRefusingReadMemoryGetsTheImageUnchecked) {
    pedal().injectBootloaderFault({BootloaderFaultAction::Nack,
                                   varkunda::sim::BootloaderStep::Command,
                                   BootloaderCommand::ReadMemory, 0});
    EXPECT_FALSE(RunFirmwareUpgrade(transport, Image13(), 13));
    EXPECT_EQ(pedal().readFlash(0x08000000, Image13().size()), Image13());
    EXPECT_TRUE(Sent({0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x0A}));
    EXPECT_TRUE(Sent({0x21, 0xDE}));
}

}  // namespace
