#pragma once

// Lets assistive tools (Orca, NVDA) read an arc dial as the window shows it: its label
// as the name and its reading (degrees turned, or the pedal's step) as the value.
void InstallArcDialAccessibility();
