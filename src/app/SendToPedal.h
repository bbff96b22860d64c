#pragma once

#include <chrono>
#include <string_view>

#include "link/Transport.h"

struct EditorContext;

// Sends one message through the link's one send path (Transport::Send). A message that
// was not sent, or not whole, is noted in the debug console in words; the failed driver
// call itself has been reported by the access layer already, as the reports say.
varkunda::link::SendResult SendToPedal(
    EditorContext& context, std::string_view hexText,
    varkunda::link::PurgeFirst purge = varkunda::link::PurgeFirst::No);

// The fixed pauses that let the pedal settle after a message. They block the window and
// run on the link's clock (the fake clock in tests).
void PauseForPedal(EditorContext& context, std::chrono::milliseconds duration);
