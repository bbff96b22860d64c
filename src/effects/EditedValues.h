#pragma once

#include <array>
#include <cstdint>

#include "protocol/Parameters.h"

// What the effect window holds of its nineteen parameters: the values and where each
// dial points. A dial's angle does not follow exactly from its value, so putting a dial
// back needs both.
struct EditedValues {
    std::array<std::uint32_t, varkunda::protocol::kParameterCount> values{};
    std::array<int, varkunda::protocol::kParameterCount> angles{};  // dials only; 0 otherwise

    bool operator==(const EditedValues&) const = default;
};
