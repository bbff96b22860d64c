#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The pedal answers a request with decimal numbers 0 to 255, one to three ASCII digits
// each, every number followed by CR LF. Each number stands for one byte of the answer.
namespace varkunda::protocol {

// Decodes the bytes received for one request, in arrival order, into one value per
// line. The scan runs over the bytes' hexadecimal text, where the letters A and D of
// LF (0A) and CR (0D) mark the line ends:
//  - a line of one to three digits gives its number modulo 256;
//  - a line of any other length (empty, four digits, ...) repeats the previous value
//    (0 when there is none), and so does a line holding a byte whose low hex digit is
//    B, C, E or F (such as ';'), since it cannot be read as a decimal number;
//  - a first byte 0xA0 to 0xAF has its first hex digit skipped;
//  - bytes without any CR or LF give no values.
// Only `reply` is decoded: bytes from earlier reads never add values.
std::vector<std::uint8_t> DecodeReplyNumbers(std::span<const std::uint8_t> reply);

// Number of complete lines (CR immediately followed by LF) in `bytes`; a reply of n
// numbers is complete once it holds n lines.
std::size_t CountReplyLines(std::span<const std::uint8_t> bytes);

}  // namespace varkunda::protocol
