// The .dat check before an algorithm upload, and the upload of what it lets through:
// any file a player might pick. A refused file sends nothing; an accepted one goes to
// the pedal byte for byte in one write.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "FakeD2xx.h"
#include "FuzzCheck.h"
#include "link/AlgorithmUpload.h"
#include "protocol/AlgorithmFile.h"
#include "protocol/HexText.h"

namespace protocol = varkunda::protocol;
using namespace varkunda::link;

namespace {

// What the check must say of `bytes`.
void CheckVerdict(std::span<const std::uint8_t> bytes, const protocol::AlgorithmFileCheck& check) {
    FUZZ_CHECK(check.size == bytes.size());
    if (bytes.empty()) {
        FUZZ_CHECK(check.fault == protocol::AlgorithmFileFault::Empty);
        return;
    }
    if (bytes.size() > protocol::kAlgorithmMessageLimit) {
        FUZZ_CHECK(check.fault == protocol::AlgorithmFileFault::TooLarge);
        return;
    }
    if (bytes[0] != protocol::kAlgorithmUploadCode) {
        FUZZ_CHECK(check.fault == protocol::AlgorithmFileFault::NotAnUpload);
        return;
    }
    if (check.ok()) {
        FUZZ_CHECK(bytes.size() >= 3);
        FUZZ_CHECK((std::size_t{bytes[1]} << 8 | bytes[2]) == bytes.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const protocol::AlgorithmFileCheck check = protocol::CheckAlgorithmFile(bytes);
    CheckVerdict(bytes, check);

    testing::FakeD2xx driver;
    driver.onWrite = [&](const std::vector<std::uint8_t>&) { driver.Queue("OK\r\n"); };
    D2xxAccess access(driver);
    access.setErrorReporter([](const LinkError&) {});
    access.setDeviceLostHandler([](const LinkError&) {});
    FakeLinkEnvironment environment;
    Transport transport(access, environment, LinkLog{});
    if (check.ok()) UploadAlgorithm(transport, protocol::BytesToHexText(bytes));

    FUZZ_CHECK(driver.writes.size() == (check.ok() ? 1u : 0u));
    if (check.ok())
        FUZZ_CHECK(std::equal(driver.writes[0].begin(), driver.writes[0].end(), bytes.begin(),
                              bytes.end()));
    return 0;
}
