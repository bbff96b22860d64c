#include "PedalToolsFixture.h"
#include "link/AlgorithmUpload.h"
#include "protocol/HexText.h"
#include "sim/PedalSimulator.h"

using namespace varkunda::link;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

class AlgorithmUpload : public PedalToolsFixture {
  protected:
    // A small upload message: code, length field, an address table, a little program.
    static Bytes Image() {
        Bytes image(64, 0x00);
        image[2] = 64;
        for (std::size_t i = 3; i < 45; ++i) image[i] = static_cast<std::uint8_t>(i);
        return image;
    }
    static std::string Hex(const Bytes& bytes) { return varkunda::protocol::BytesToHexText(bytes); }
};

TEST_F(AlgorithmUpload, OneWriteThenThePedalsAnswerOnly) {
    std::vector<std::size_t> sentSizes;
    std::string readText;
    AlgorithmUploadHooks hooks;
    hooks.sent = [&](const SendResult& sent) { sentSizes.push_back(sent.bytesWritten); };
    hooks.read = [&](auto bytes) { readText.append(bytes.begin(), bytes.end()); };

    const auto result = UploadAlgorithm(transport, Hex(Image()), hooks);

    ASSERT_TRUE(result.ok());
    EXPECT_EQ(writes(), std::vector<Bytes>{Image()});
    EXPECT_EQ(device.calls, std::vector<std::string>{"write 64"}) << "nothing purged";
    EXPECT_EQ(sentSizes, std::vector<std::size_t>{64});
    EXPECT_EQ(std::string(result.answer.begin(), result.answer.end()), "Upload OK\r\n");
    EXPECT_EQ(readText, "Upload OK\r\n");
}

TEST_F(AlgorithmUpload, ASilentPedalEndsTheWaitAfterTheTimeLimit) {
    pedal().injectFault(varkunda::sim::Fault::Silence);
    const auto start = environment.now();
    const auto result = UploadAlgorithm(transport, Hex(Image()));

    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->kind, LinkErrorKind::NoUploadAnswer);
    EXPECT_TRUE(result.sent.ok());
    EXPECT_TRUE(result.answer.empty());
    EXPECT_GE(environment.now() - start, kUploadAnswerTimeout);
    EXPECT_LT(environment.now() - start, kUploadAnswerTimeout + 100ms);
}

TEST_F(AlgorithmUpload, AMessageThatIsNotSentIsNotWaitedFor) {
    bool sentCalled = false;
    AlgorithmUploadHooks hooks;
    hooks.sent = [&](const SendResult&) { sentCalled = true; };
    const auto result = UploadAlgorithm(transport, "00004G", hooks);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->kind, LinkErrorKind::NotHexadecimal);
    EXPECT_FALSE(sentCalled);
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(pauses.empty());
}

TEST_F(AlgorithmUpload, APedalUnpluggedBeforeItAnswersIsAReadFailure) {
    pedal().injectFault(varkunda::sim::Fault::UnplugAfterBytes, 64);
    const auto result = UploadAlgorithm(transport, Hex(Image()));
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error->kind == LinkErrorKind::ReadFailed ||
                result.error->kind == LinkErrorKind::DeviceLost)
        << static_cast<int>(result.error->kind);
    EXPECT_TRUE(result.answer.empty());
}

}  // namespace
