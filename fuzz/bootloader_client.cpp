// The bootloader client's handling of answers: a whole firmware upgrade (connect, erase,
// write, read back, version record, Go) against a line that answers each frame the
// editor writes with bytes of the fuzzer's choice, and may keep dripping one more byte
// on every poll (a noisy or babbling line). The run must end on the fake clock, and
// never report success without an acknowledgement for every frame it wrote.
//
// Input: [drip control][drip byte] then, per frame written, [length, 2 bytes
// little-endian][length bytes].
// Drip control bit 0 turns the drip on.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FakeD2xx.h"
#include "FuzzCheck.h"
#include "link/BootloaderClient.h"
#include "link/FirmwareUpgrade.h"

using namespace varkunda::link;
using namespace std::chrono_literals;

namespace {

// Two chunks: the longest honest run (erase, two writes, two read-backs of 256 bytes
// at most a second each, record, Go) ends well within this on the fake clock.
constexpr std::size_t kImageSize = 300;
constexpr auto kLongestRun = 700s;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool drip = data[0] & 1;
    const std::uint8_t dripByte = data[1];
    std::size_t offset = 2;
    std::size_t acksDelivered = 0;

    testing::FakeD2xx driver;
    auto deliver = [&](const std::uint8_t* bytes, std::size_t count) {
        driver.queued.insert(driver.queued.end(), bytes, bytes + count);
        acksDelivered +=
            static_cast<std::size_t>(std::count(bytes, bytes + count, bootloader::kAck));
    };
    driver.onWrite = [&](const std::vector<std::uint8_t>&) {
        if (size - offset < 2) return;
        const std::size_t length = std::min<std::size_t>(
            data[offset] | std::size_t{data[offset + 1]} << 8, size - offset - 2);
        deliver(data + offset + 2, length);
        offset += 2 + length;
    };
    D2xxAccess access(driver);
    access.setErrorReporter([](const LinkError&) {});
    access.setDeviceLostHandler([](const LinkError&) {});
    FakeLinkEnvironment environment;
    environment.onSleep = [&](std::chrono::milliseconds) {
        if (environment.now() > kLongestRun) FUZZ_FAIL("the bootloader client did not give up");
        if (drip) deliver(&dripByte, 1);
        driver.calls.clear();  // the record of calls would grow with every poll
    };
    Transport transport(access, environment, LinkLog{});
    BootloaderClient client(transport);

    const std::vector<std::uint8_t> image(kImageSize, 0x5A);
    BootloaderResult result = client.Connect();
    if (!result) result = RunFirmwareUpgrade(transport, image, 13);

    if (result) {
        FUZZ_CHECK(!BootloaderErrorText(*result).empty());
    } else {
        // A bootloader that refuses Read Memory lets the run go on unchecked: one frame
        // may then have had a NACK instead of an ACK.
        FUZZ_CHECK(acksDelivered + 1 >= driver.writes.size());
    }
    return 0;
}
