#pragma once

#include <QString>
#include <optional>

#include "protocol/Parameters.h"

namespace varkunda::cli {

// The parameter addresses of the built-in algorithm, read from its image's address
// table; nothing, with `error` set, when the image holds none.
std::optional<protocol::AddressTable> BuiltinParameterAddresses(QString& error);

}  // namespace varkunda::cli
