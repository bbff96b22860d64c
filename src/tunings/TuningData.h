#pragma once

#include <string>

struct EditorContext;

// Builds the tuning data text afresh (1280 hexadecimal digits) and logs it as
// "tuning data: " followed by the text.
std::string BuildTuningData(EditorContext& context);

// Settings > Upload Tuning Data: builds and logs the table, asks, then sends it with the
// pedal in bypass.
void UploadTuningData(EditorContext& context);
