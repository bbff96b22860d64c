#include "sim/PedalMemory.h"

#include <algorithm>

#include "protocol/HexText.h"

namespace varkunda::sim {

namespace {
constexpr std::size_t kIgnoredBytesShown = 16;
}

void PedalMemory::logIgnored(std::span<const std::uint8_t> bytes, const std::string& prefix,
                             const std::string& suffix) {
    IgnoredRun& run = ignoredRun;
    const bool continues = run.pieces > 0 && run.prefix == prefix && run.suffix == suffix &&
                           !events.empty() && events.back() == run.event;
    if (!continues) {
        run = {};
        run.prefix = prefix;
        run.suffix = suffix;
        events.emplace_back();
    }
    const std::size_t room = kIgnoredBytesShown - run.shown.size();
    run.shown.insert(run.shown.end(), bytes.begin(),
                     bytes.begin() + static_cast<std::ptrdiff_t>(std::min(room, bytes.size())));
    run.bytes += bytes.size();
    ++run.pieces;
    run.event = prefix + protocol::BytesToHexText(run.shown) +
                (run.shown.size() < run.bytes ? "..." : "") + suffix +
                (run.pieces > 1 ? " (" + std::to_string(run.bytes) + " bytes)" : "");
    events.back() = run.event;
}

}  // namespace varkunda::sim
