#pragma once

#include <cstdint>

class TformMain;

namespace varkunda::protocol {
struct StatusReply;
}

// The instrument range the main window knows: the code last chosen in Settings >
// Instrument Range or last reported by the pedal (255 Standard, 186 Low; 0 before
// either). It lives with the main window for the whole run.
std::uint8_t InstrumentRange(const TformMain& main);
void SetInstrumentRange(TformMain& main, std::uint8_t range);

// Stores the reported range and ticks the matching menu item; a code that is neither
// Standard nor Low is stored but leaves the tick marks as they are.
void ShowInstrumentRangeValue(TformMain& main, std::uint8_t range);
void ShowInstrumentRange(TformMain& main, const varkunda::protocol::StatusReply& reply);
