// The main window's algorithm upload, firmware upgrade and settings erase.
#include "app/TformMain.h"

void TformMain::btnUploadClick() {}

void TformMain::UploadCheckTimerTimer() {}

void TformMain::menuLoadAlgorithmFromFileClick() {}

void TformMain::menuFirmwareUpgradeModeClick() {}

void TformMain::menuStartFirmwareUpgradeClick() {}

void TformMain::menuEraseSettingsClick() {}
