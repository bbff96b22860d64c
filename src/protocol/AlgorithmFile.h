#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace varkunda::protocol {

// The largest algorithm-upload message the pedal takes in one write.
inline constexpr std::size_t kAlgorithmMessageLimit = 65536;
inline constexpr std::uint8_t kAlgorithmUploadCode = 0x00;

// Why an algorithm file is not an algorithm-upload message.
enum class AlgorithmFileFault {
    Empty,
    TooLarge,        // more than kAlgorithmMessageLimit bytes
    NotAnUpload,     // the first byte is not the upload code 0x00
    LengthMismatch,  // the length field (bytes 1-2, MSB first) differs from the size
};

struct AlgorithmFileCheck {
    std::optional<AlgorithmFileFault> fault;  // empty: the file may be sent
    std::size_t size = 0;                     // the file's size in bytes
    std::size_t lengthField = 0;              // what bytes 1-2 say, when the file has them
    bool ok() const { return !fault; }
};

// Checks a .dat file's bytes before any of them go to the pedal.
AlgorithmFileCheck CheckAlgorithmFile(std::span<const std::uint8_t> bytes);

}  // namespace varkunda::protocol
