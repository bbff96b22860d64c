#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/PedalMemory.h"

namespace varkunda::sim {

// The pedal's normal firmware: applies one framed message to the pedal's memory and
// returns the answer, if the message has one. Messages it cannot use are logged in
// the event log and change nothing.
class PedalFirmware {
public:
    explicit PedalFirmware(PedalMemory& memory) : memory_(memory) {}

    std::optional<Reply> handle(const std::vector<std::uint8_t>& message);

private:
    using Message = std::vector<std::uint8_t>;

    std::optional<Reply> uploadAlgorithm(const Message& message);
    void setParameter(const Message& message);
    std::optional<Reply> answerStatus(const Message& message);
    void storeAssignableValues(const Message& message);
    void setAssignments(const Message& message);
    void enterBootloader(const Message& message);
    void setMidiChannel(const Message& message);
    void setFootswitchMode(const Message& message);
    void setTuning(const Message& message);
    void eraseEeprom(const Message& message);
    std::optional<Reply> dumpEeprom(const Message& message);
    void setBypass(const Message& message);
    void keepTuningData(const Message& message);
    void setInstrumentRange(const Message& message);
    void setBypassStorage(const Message& message);

    void ignore(const Message& message, const std::string& why);
    void storeSettings();

    PedalMemory& memory_;
};

}  // namespace varkunda::sim
