#pragma once

#include <functional>

#include "app/StatusLine.h"

struct EditorContext;
class TformFXsettings;

// The main window's commands that send the effect window's choices to the pedal. Each
// builds and logs its message, asks where the command asks, and only then sends it,
// so nothing another sender does while a question is open can change what is written.
// Each says whether it was declined, sent or not sent.

// "Save Parameters": the nine assignable values with the store command (37 bytes).
SendOutcome SaveParametersToPedal(EditorContext& context, const TformFXsettings& effects);

// "Assign": the five control assignments (16 bytes). `setAssignEnabled` switches the
// Assign button off for the pause after the write.
SendOutcome UploadAssignments(EditorContext& context, TformFXsettings& effects,
                              const std::function<void(bool)>& setAssignEnabled);

// "Set Footswitch Mode": the short and long press choice (3 bytes), without a question.
SendOutcome SendFootswitchMode(EditorContext& context, TformFXsettings& effects);
