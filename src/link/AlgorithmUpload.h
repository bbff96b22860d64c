#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "link/Transport.h"

namespace varkunda::link {

// The pedal settles in bypass before an image comes: the built-in one, or one from a file.
inline constexpr std::chrono::milliseconds kBypassBeforeImagePause{40};
inline constexpr std::chrono::milliseconds kBypassBeforeFilePause{400};

// What a front end hears while an upload runs: the one write has been made, and each
// read of the pedal's answer as it comes (its own bytes only).
struct AlgorithmUploadHooks {
    std::function<void(const SendResult& sent)> sent;
    Transport::ReadHandler read;
};

struct AlgorithmUploadResult {
    SendResult sent;
    std::vector<std::uint8_t> answer;  // every byte the pedal sent for this upload, in order
    std::optional<LinkError> error;    // not sent, read failed, or NoUploadAnswer
    bool ok() const { return !error; }
};

// Sends an algorithm-upload message (hex text, the whole image in one write, nothing
// purged) and waits at most kUploadAnswerTimeout for the pedal's answer, which comes
// once the pedal has installed the image.
AlgorithmUploadResult UploadAlgorithm(Transport& transport, std::string_view messageHex,
                                      const AlgorithmUploadHooks& hooks = {});

}  // namespace varkunda::link
