// The main window's instrument range, tuning and tuning-data commands.
#include "app/TformMain.h"

void TformMain::menuStandardClick() {}

void TformMain::menuLowClick() {}

void TformMain::btnSetTuningClick() {}

void TformMain::ChangeInstrument() {}

void TformMain::ShowInstrumentRange(const varkunda::protocol::StatusReply&) {}

void TformMain::menuUploadTuningsDataClick() {}
