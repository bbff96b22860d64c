#pragma once

#include "sim/PedalSimulator.h"

namespace varkunda::sim {

// The settings of a new pedal, and of one whose settings EEPROM was erased: nothing
// assigned, footswitch mode 0, no tuning, bypass off and not stored, Standard range,
// MIDI OMNI, a playable set of parameter values and the built-in address table.
PedalState FactoryState();

}  // namespace varkunda::sim
