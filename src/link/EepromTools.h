#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "link/Transport.h"

// The developer tools for the pedal's two EEPROM chips (bus addresses "50" and "51"):
// erasing one and reading a dump of one.
namespace varkunda::link {

inline constexpr std::chrono::milliseconds kAfterEraseEepromPause{100};
// The dump (16 385 bytes) crosses the line in about 1.42 s; a dump not whole by then
// is logged as far as it came.
inline constexpr std::chrono::milliseconds kEepromDumpTimeLimit{4000};
inline constexpr std::chrono::milliseconds kEepromDumpPollInterval{1};

// Logs "erase message: 0B" + address + "000000", purges the transmit queue, sends the
// 5 bytes and waits. An address that is not two hexadecimal digits sends nothing.
SendResult EraseEeprom(Transport& transport, std::string_view busAddress);

struct EepromDumpResult {
    SendResult sent;  // the read request
    // Empty when the whole dump came; NoReply when the time limit passed first, ReadFailed
    // when the device could not be asked for its queue (`reached` bytes had come).
    std::optional<LinkError> error;
    std::vector<std::uint8_t> contents;  // the EEPROM bytes that arrived, from address 0
    bool complete() const;
};

// Logs the request (0C + address + "00000000"; an empty address reads "50") and sends
// it, then takes in the answer until all of it has arrived or kEepromDumpTimeLimit has
// passed. Logs "num of bytes read: N", then one line "i: HH" per EEPROM byte that
// arrived and, for a dump cut short, the line saying how far it came. The caller keeps
// the reply timer off meanwhile.
EepromDumpResult ReadEepromDump(Transport& transport, std::string_view busAddress);

}  // namespace varkunda::link
