#pragma once

// The effect window's parameter controls, listed once: the component, the parameter it
// edits, where it sits and the handler that hears it change. Building the window,
// connecting it, sending and the read-back all walk this list.

#include <QRect>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "effects/TformFXsettings.h"

namespace effect_controls {

// The component of the window that holds the control; its type is the control's kind.
using Member = std::variant<ArcDial * TformFXsettings::*, ToggleSwitch * TformFXsettings::*,
                            QCheckBox * TformFXsettings::*, QComboBox * TformFXsettings::*>;

// What a control sits in: the window itself or one of its framed groups.
enum class Group { Window, Harmonic, Tracking, NoiseGate };

// A label of its own beside the control.
struct Caption {
    const char* name;
    const char* text;
    QRect place;
    bool wrapped = false;  // centred, on up to two lines
};

struct EffectControl {
    Member member;
    const char* name;  // object name: the member's name
    std::size_t parameter;
    void (TformFXsettings::*changed)();  // the change handler
    Group group;
    QRect place;            // in the group
    const char* text = "";  // a dial's label, a check box's text
    int angle = 0;          // a dial's angle until the first values arrive
    bool enabled = true;    // at start, before a linked pedal enables the window
    const QString* hint = nullptr;
    std::optional<Caption> caption = std::nullopt;
};

inline constexpr std::size_t kControlCount = 19;

// One control per parameter, in the order the read-back sets them.
const std::array<EffectControl, kControlCount>& Controls();

// The control of a parameter.
const EffectControl& ControlOf(std::size_t parameter);

// Calls the matching overload with the control's component.
template <typename... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};

template <typename... Visitors>
void VisitComponent(TformFXsettings& window, const EffectControl& control, Visitors&&... visitors) {
    std::visit(
        [&](auto member) {
            Overloaded<std::decay_t<Visitors>...>{std::forward<Visitors>(visitors)...}(window.*
                                                                                       member);
        },
        control.member);
}

}  // namespace effect_controls
