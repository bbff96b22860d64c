#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

// Parameter values as the effect window shows them (dial degrees, a switch's on or off,
// a list entry) and as typed on the command line.
namespace varkunda::cli {

// The parameter of that name, in any case.
std::optional<std::size_t> ParameterIndexOf(const QString& name);

// "45°", "on", "off", "+7"; "-" for a switch word the window would not show.
QString ShownValue(std::size_t parameter, std::uint32_t value);

struct TypedValue {
    std::optional<std::uint32_t> value;
    QString error;  // why the text was refused
};

// The word to send for `text`: what the window shows, or raw:0xHHHHHHHH. Values the
// window could not show are refused.
TypedValue ParseParameterValue(std::size_t parameter, const QString& text);

}  // namespace varkunda::cli
