// The main window's preset files: File > Load Preset and Save Preset.
#include "app/TformMain.h"

void TformMain::menuLoadPresetClick() {}

void TformMain::menuSavePresetClick() {}
