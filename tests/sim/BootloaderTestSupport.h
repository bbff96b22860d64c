#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PedalTestSupport.h"

namespace varkunda::sim::testing {

inline std::string Hex(const std::vector<std::uint8_t>& bytes) {
    return protocol::BytesToHexText(bytes);
}

// Address frame: the address most significant byte first, then their XOR.
inline std::string AddressFrame(std::uint32_t address) {
    std::vector<std::uint8_t> frame;
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.push_back(static_cast<std::uint8_t>(address >> shift));
    frame.push_back(frame[0] ^ frame[1] ^ frame[2] ^ frame[3]);
    return Hex(frame);
}

// Data frame: N = length - 1, the bytes, then the XOR of N and the bytes.
inline std::string DataFrame(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> frame{static_cast<std::uint8_t>(data.size() - 1)};
    frame.insert(frame.end(), data.begin(), data.end());
    std::uint8_t checksum = 0;
    for (std::uint8_t byte : frame) checksum ^= byte;
    frame.push_back(checksum);
    return Hex(frame);
}

inline std::vector<std::uint8_t> Filled(std::size_t count, std::uint8_t value) {
    return std::vector<std::uint8_t>(count, value);
}

// A pedal powered up with SHIFT held, its host at the bootloader's even parity, synced.
class InBootloader : public ::testing::Test {
  protected:
    void SetUp() override {
        pedal.replug(true);
        LineSettings even;
        even.parity = 2;
        pedal.setLineSettings(even);
        ASSERT_EQ(exchange("7F"), Bytes("79"));
        pedal.clearEvents();
    }

    std::vector<std::uint8_t> exchange(std::string_view hex) {
        Send(pedal, hex);
        return ReadAll(pedal);
    }

    // Erases everything and writes `data` at `address`, as a client would.
    void eraseAndWrite(std::uint32_t address, const std::vector<std::uint8_t>& data) {
        ASSERT_EQ(exchange("43BC"), Bytes("79"));
        ASSERT_EQ(exchange("FF00"), Bytes("79"));
        ASSERT_EQ(exchange("31CE" + AddressFrame(address) + DataFrame(data)), Bytes("797979"));
    }

    PedalSimulator pedal;
};

}  // namespace varkunda::sim::testing
