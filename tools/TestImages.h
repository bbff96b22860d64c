#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The built-in test images, made from one fixed seed, so the editor's resources and the
// software pedal's flash hold the same bytes on every build. The pedal maker's own
// images are not ours to ship; these have their structure and sizes.
namespace varkunda::images {

// The algorithm image VARKUNDA_TZ5_0014: 4352 bytes starting 00, its length and the
// 21-entry address table; as one line of upper-case hexadecimal text.
std::string AlgorithmTestImageHex();

// The raw firmware test image for firmware 12 (53136 bytes) or 13 (53152 bytes),
// starting with a Cortex-M vector table; empty for any other number.
const std::vector<std::uint8_t>& FirmwareTestImage(int number);

}  // namespace varkunda::images
