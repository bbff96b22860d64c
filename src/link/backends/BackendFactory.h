#pragma once

#include <memory>
#include <optional>

#include "link/D2xx.h"
#include "link/LinkError.h"
#include "link/backends/BackendChoice.h"

namespace varkunda::link {

struct CreatedBackend {
    std::unique_ptr<D2xx> device;
    std::optional<LinkError> error;  // why `device` is missing
};

// Makes the chosen backend; no device, with the error saying why, when it cannot be made
// (an unreadable choice, the vendor library missing when asked for by name).
CreatedBackend CreateBackend(const BackendChoice& choice);

}  // namespace varkunda::link
