#pragma once

#include <memory>
#include <string>

#include "link/D2xx.h"
#include "link/backends/BackendChoice.h"

namespace varkunda::link {

// Makes the chosen backend; nothing, with `error` saying why, when it cannot be made
// (an unreadable choice, the vendor library missing when asked for by name).
std::unique_ptr<D2xx> CreateBackend(const BackendChoice& choice, std::string& error);

}  // namespace varkunda::link
