#pragma once

#include <chrono>
#include <string_view>

#include "link/Transport.h"

namespace varkunda::link {

// The pedal settles in bypass before the table comes, and takes the table after it.
inline constexpr std::chrono::milliseconds kBypassBeforeTuningDataPause{400};
inline constexpr std::chrono::milliseconds kAfterTuningDataPause{100};

// Switches the pedal to bypass (0D 01, not logged) and waits, then sends 0E and the
// table in one write after purging the transmit queue, logs "num_of_bytes: 641" and
// waits again. The bypass stays on. A text that is not the whole table is refused
// before anything is sent; a failed bypass message stops before the table.
SendResult UploadTuningData(Transport& transport, std::string_view tuningDataText);

}  // namespace varkunda::link
