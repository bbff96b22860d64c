// The console's EEPROM tools: reading a dump of one of the pedal's two EEPROM
// devices and erasing one. Not available yet.
#include "console/TformPrint.h"

void TformPrint::btnEraseEepromClick() {}

void TformPrint::btnReadEEPROMClick() {}
