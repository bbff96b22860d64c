// The main window's buttons for the effect parameters: storing them on the pedal,
// the control assignments and the footswitch mode.
#include <QPushButton>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "effects/EffectCommands.h"
#include "effects/TformFXsettings.h"

void TformMain::btnSaveParametersClick() {
    if (context_.formFXsettings) SaveParametersToPedal(context_, *context_.formFXsettings);
}

void TformMain::btnAssignClick() {
    if (!context_.formFXsettings) return;
    UploadAssignments(context_, *context_.formFXsettings,
                      [this](bool enabled) { btnAssign->setEnabled(enabled); });
}

void TformMain::btnSetFootswitchModeClick() {
    if (context_.formFXsettings) SendFootswitchMode(context_, *context_.formFXsettings);
}
