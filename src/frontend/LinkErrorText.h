#pragma once

#include <QString>

#include "link/DriverStatus.h"
#include "link/LinkError.h"

// The one place where the link's failures become words: the editor's and the command-line tool's.

// The driver's status as the access layer's message boxes show it behind the call's
// label: " - Invalid handle..." for 1.
QString DriverStatusText(varkunda::link::FtStatus status);

// The message for a failure: for a failed driver call the call's label followed directly
// by the status text ("FT_Write - Invalid handle..."), with the system's own words after
// it when the backend gave any.
QString LinkErrorText(const varkunda::link::LinkError& error);
