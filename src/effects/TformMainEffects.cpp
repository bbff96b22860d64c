// The main window's buttons for the effect parameters: storing them on the pedal,
// the control assignments and the footswitch mode.
#include "app/TformMain.h"

void TformMain::btnSaveParametersClick() {}

void TformMain::btnAssignClick() {}

void TformMain::btnSetFootswitchModeClick() {}
