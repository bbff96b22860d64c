// The main window's buttons for the effect parameters: storing them on the pedal,
// the control assignments and the footswitch mode.
#include <optional>

#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/TformMain.h"
#include "effects/EffectCommands.h"
#include "effects/TformFXsettings.h"

void TformMain::btnSaveParametersClick() {
    if (!context_.formFXsettings) return;
    ShowSent(sent_words::kParameters, SaveParametersToPedal(context_, *context_.formFXsettings));
}

// The pause after the write is an exchange: nothing else talks to the pedal meanwhile.
void TformMain::btnAssignClick() {
    if (!context_.formFXsettings) return;
    std::optional<PedalExchangeGuard> pause;
    const SendOutcome outcome =
        UploadAssignments(context_, *context_.formFXsettings, [&](bool enabled) {
            if (enabled)
                pause.reset();
            else
                pause.emplace(context_);
        });
    ShowSent(sent_words::kAssignments, outcome);
}

void TformMain::btnSetFootswitchModeClick() {
    if (!context_.formFXsettings) return;
    ShowSent(sent_words::kFootswitchMode, SendFootswitchMode(context_, *context_.formFXsettings));
}
