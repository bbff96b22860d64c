#pragma once

#include <QString>
#include <cstdint>

#include "app/StatusLine.h"

struct EditorContext;
class TformFXsettings;

// The instrument range and tuning commands of the main window.

// The range codes are protocol::kInstrumentRangeStandard and kInstrumentRangeLow.

// Replaces the product folder's "Instrument.txt" with "GUITAR" (Standard) or "BASS"
// (Low) as a whole, UTF-8 without byte-order mark. A failure is shown to the user and
// leaves the old file as it was; the result says whether the file was written.
bool WriteInstrumentFile(EditorContext& context, std::uint8_t range);

// Logs the checksum, asks "Change current Instrument?", then sends the 8-byte
// instrument message for `range`. A range the pedal does not know sends nothing.
void ChangeInstrument(EditorContext& context, std::uint8_t range);

// Logs the tuning message, asks "Set new tuning?", then sends the window's tuning and
// semitone variation (3 bytes) and pauses 100 ms.
SendOutcome SendTuning(EditorContext& context, const TformFXsettings& effects);
