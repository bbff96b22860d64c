#include "sim/PedalFirmware.h"

#include <algorithm>
#include <string>

#include "protocol/HexText.h"
#include "sim/FactorySettings.h"
#include "sim/ParameterMap.h"
#include "sim/StatusReply.h"

namespace varkunda::sim {
namespace {

using protocol::BytesToHexText;
using protocol::HexByte;
using protocol::HexWord16;
using protocol::HexWord32;

constexpr std::size_t kUploadTableEnd = 3 + 2 * kAddressSlotCount;  // bytes 3..44
constexpr std::size_t kAssignableFirst = 10;                        // "Input Level"
constexpr std::size_t kAssignableCount = 9;
constexpr std::uint8_t kStandardRange = 0xFF;
constexpr std::uint8_t kLowRange = 0xBA;

std::uint16_t Word16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

std::uint32_t Word32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} << 24 | std::uint32_t{bytes[offset + 1]} << 16 |
           std::uint32_t{bytes[offset + 2]} << 8 | bytes[offset + 3];
}

std::vector<std::uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

std::optional<Reply> PedalFirmware::handle(const Message& message) {
    switch (message.front()) {
        case 0x00: return uploadAlgorithm(message);
        case 0x01: setParameter(message); break;
        case 0x02: return answerStatus(message);
        case 0x03: storeAssignableValues(message); break;
        case 0x04: setAssignments(message); break;
        case 0x05: enterBootloader(message); break;
        case 0x07: setMidiChannel(message); break;
        case 0x08: setFootswitchMode(message); break;
        case 0x09: setTuning(message); break;
        case 0x0B: eraseEeprom(message); break;
        case 0x0C: return dumpEeprom(message);
        case 0x0D: setBypass(message); break;
        case 0x0E: keepTuningData(message); break;
        case 0x0F: setInstrumentRange(message); break;
        case 0x10: setBypassStorage(message); break;
        default: ignore(message, "unknown command"); break;
    }
    return std::nullopt;
}

std::optional<Reply> PedalFirmware::uploadAlgorithm(const Message& message) {
    if (message.size() < kUploadTableEnd) {
        ignore(message, "algorithm upload of " + std::to_string(message.size()) +
                            " bytes has no address table");
        return Reply{Reply::Kind::UploadAnswer, Text("Upload Error\r\n")};
    }
    for (std::size_t slot = 0; slot < kAddressSlotCount; ++slot)
        memory_.state.addressTable[slot] = Word16At(message, 3 + 2 * slot);
    memory_.installedAlgorithm = message;
    storeSettings();
    memory_.log("algorithm upload: " + std::to_string(message.size()) +
                " bytes, address table installed");
    return Reply{Reply::Kind::UploadAnswer, Text("Upload OK\r\n")};
}

void PedalFirmware::setParameter(const Message& message) {
    const std::uint16_t address = Word16At(message, 1);
    const std::uint32_t value = Word32At(message, 3);
    const auto& table = memory_.state.addressTable;
    const auto found = std::find(table.begin(), table.end(), address);
    if (found == table.end()) return ignore(message, "unknown address " + HexWord16(address));
    const auto slot = static_cast<std::size_t>(found - table.begin());
    const auto parameter = ParameterOfSlot(slot);
    const std::string where = " (slot " + std::to_string(slot) + ", address " +
                              HexWord16(address) + ")";
    if (!parameter) {
        memory_.log("set parameter: slot " + std::to_string(slot) + " (address " +
                    HexWord16(address) + ") := " + HexWord32(value) + ", not reported");
        return;
    }
    const std::uint32_t reported = ReportedValue(*parameter, value);
    memory_.state.parameters[*parameter] = reported;
    std::string event = "set parameter " + std::string(ParameterName(*parameter)) + where +
                        " := " + HexWord32(value);
    if (reported != value) event += ", reported as step " + std::to_string(reported);
    memory_.log(event);
}

std::optional<Reply> PedalFirmware::answerStatus(const Message& message) {
    if (message[1] != 0x00) {
        ignore(message, "not a status request");
        return std::nullopt;
    }
    const auto numbers = StatusNumbers(memory_.identity, memory_.state);
    memory_.log("status request: answered " + std::to_string(numbers.size()) + " numbers");
    return Reply{Reply::Kind::Status, DecimalLines(numbers)};
}

void PedalFirmware::storeAssignableValues(const Message& message) {
    for (std::size_t i = 0; i < kAssignableCount; ++i)
        memory_.state.parameters[kAssignableFirst + i] = Word32At(message, 1 + 4 * i);
    storeSettings();
    memory_.log("store: nine assignable values kept");
}

void PedalFirmware::setAssignments(const Message& message) {
    auto& state = memory_.state;
    for (std::size_t k = 0; k < state.assignmentFlags.size(); ++k) {
        state.assignmentFlags[k] = message[1 + k];
        state.assignmentFields[k] = Word16At(message, 6 + 2 * k);
    }
    storeSettings();
    memory_.log("assignments: " + BytesToHexText(message).substr(2));
}

void PedalFirmware::enterBootloader(const Message& message) {
    static const Message kEnter{0x05, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    if (message != kEnter) return ignore(message, "not the enter-bootloader message");
    memory_.state.inBootloader = true;
    memory_.log("enter bootloader");
}

void PedalFirmware::setMidiChannel(const Message& message) {
    if (message[1] > 16) return ignore(message, "MIDI channel out of range");
    memory_.state.midiChannel = message[1];
    storeSettings();
    memory_.log(message[1] == 0 ? std::string("MIDI channel OMNI")
                                : "MIDI channel " + std::to_string(message[1]));
}

void PedalFirmware::setFootswitchMode(const Message& message) {
    if (message[1] > 1 || message[2] > 1) return ignore(message, "footswitch choice out of range");
    memory_.state.footswitchMode = static_cast<std::uint8_t>(2 * message[1] + message[2]);
    storeSettings();
    memory_.log("footswitch mode " + std::to_string(memory_.state.footswitchMode));
}

void PedalFirmware::setTuning(const Message& message) {
    const auto semitones = static_cast<std::int8_t>(message[2]);
    if (message[1] > 8 || semitones < -5 || semitones > 3)
        return ignore(message, "tuning out of range");
    memory_.state.tuning = message[1];
    memory_.state.semitoneVariation = semitones;
    storeSettings();
    memory_.log("tuning " + std::to_string(message[1]) + ", semitones " +
                std::to_string(semitones));
}

void PedalFirmware::eraseEeprom(const Message& message) {
    const std::uint8_t chip = message[1];
    if (!memory_.eeprom.erase(chip)) return ignore(message, "no EEPROM at that address");
    if (chip == kSettingsEeprom) {
        // The running algorithm keeps its address table; the settings start afresh.
        PedalState fresh = FactoryState();
        fresh.addressTable = memory_.state.addressTable;
        fresh.inBootloader = memory_.state.inBootloader;
        memory_.state = fresh;
        memory_.log("erase EEPROM 50: settings back to defaults");
    } else {
        memory_.tuningData.clear();
        memory_.log("erase EEPROM " + HexByte(chip) + ": tuning data cleared");
    }
}

std::optional<Reply> PedalFirmware::dumpEeprom(const Message& message) {
    const auto* chip = memory_.eeprom.chip(message[1]);
    if (!chip) {
        ignore(message, "no EEPROM at that address");
        return std::nullopt;
    }
    Reply reply{Reply::Kind::EepromDump, {0xAB}};
    reply.bytes.insert(reply.bytes.end(), chip->begin(), chip->end());
    memory_.log("EEPROM dump " + HexByte(message[1]) + ": " + std::to_string(reply.bytes.size()) +
                " bytes");
    return reply;
}

void PedalFirmware::setBypass(const Message& message) {
    if (message[1] > 1) return ignore(message, "bypass neither on nor off");
    memory_.state.bypass = message[1];
    if (memory_.state.storeBypassStatus == 1) storeSettings();
    memory_.log(message[1] ? "bypass on" : "bypass off");
}

void PedalFirmware::keepTuningData(const Message& message) {
    memory_.tuningData.assign(message.begin() + 1, message.end());
    memory_.eeprom.recordTuningData(memory_.tuningData);
    memory_.log("tuning data: " + std::to_string(memory_.tuningData.size()) + " bytes kept");
}

void PedalFirmware::setInstrumentRange(const Message& message) {
    std::uint8_t checksum = 0;
    for (std::size_t i = 0; i < 7; ++i) checksum ^= message[i];
    if (checksum != message[7])
        return ignore(message, "bad checksum " + HexByte(message[7]) + ", expected " +
                                   HexByte(checksum));
    if (message[1] != kStandardRange && message[1] != kLowRange)
        return ignore(message, "unknown instrument range");
    memory_.state.instrumentRange = message[1];
    storeSettings();
    memory_.log("instrument range " + std::to_string(message[1]));
}

void PedalFirmware::setBypassStorage(const Message& message) {
    if (message[1] != 0x01 && message[1] != 0xFF)
        return ignore(message, "bypass storage neither 01 nor FF");
    memory_.state.storeBypassStatus = message[1] == 0x01 ? 1 : 0;
    storeSettings();
    memory_.log(message[1] == 0x01 ? "bypass status stored" : "bypass status not stored");
}

void PedalFirmware::ignore(const Message& message, const std::string& why) {
    memory_.logIgnored(message, "ignored ", ": " + why);
}

void PedalFirmware::storeSettings() { memory_.eeprom.recordSettings(memory_.state); }

}  // namespace varkunda::sim
