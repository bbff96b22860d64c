// What the reply timer takes in while no request waits: bytes the pedal sends unasked,
// EEPROM dumps among them, arriving in any pieces over any number of ticks.
//
// Input: ticks of [length, 2 bytes little-endian][control][length bytes]. Control bit 7
// makes the tick's queue query fail; bits 0-6 move the clock on in steps of 20 ms
// before the tick.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FakeD2xx.h"
#include "FuzzCheck.h"
#include "link/Transport.h"
#include "protocol/Messages.h"

using namespace varkunda::link;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::FakeD2xx driver;
    D2xxAccess access(driver);
    access.setErrorReporter(
        [](const LinkError&) { FUZZ_FAIL("the reply timer showed a message"); });
    // A failing queue query may mean the pedal is gone: that is handed over, not shown.
    access.setDeviceLostHandler([](const LinkError&) {});
    FakeLinkEnvironment environment;
    std::size_t dumpLines = 0;
    LinkLog log;
    log.print = [](const std::string& line) { FUZZ_CHECK(!line.empty()); };
    log.printLines = [&](const std::vector<std::string>& lines) {
        // A dump's lines count its bytes from 0: "i: HH". A dump that stalled right
        // after its marker has none.
        FUZZ_CHECK(lines.size() <= varkunda::protocol::kEepromSize);
        if (lines.empty()) return;
        FUZZ_CHECK(lines.front().rfind("0: ", 0) == 0);
        FUZZ_CHECK(lines.back().rfind(std::to_string(lines.size() - 1) + ": ", 0) == 0);
        dumpLines += lines.size();
    };
    Transport transport(access, environment, log);

    std::size_t offset = 0;
    std::size_t delivered = 0;
    while (size - offset >= 3) {
        const std::size_t length = data[offset] | std::size_t{data[offset + 1]} << 8;
        const std::uint8_t control = data[offset + 2];
        offset += 3;
        const std::size_t take = std::min(length, size - offset);
        driver.queued.insert(driver.queued.end(), data + offset, data + offset + take);
        offset += take;
        delivered += take;

        driver.failing.clear();
        if (control & 0x80) driver.failing["getQueueStatus"] = ft::IO_ERROR;
        environment.advance(std::chrono::milliseconds(20 * (control & 0x7F)));
        transport.PollDeviceInput();
        FUZZ_CHECK(access.ErrorReportsOn);
        FUZZ_CHECK(dumpLines <= delivered);
    }
    return 0;
}
