#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

// Version texts of the editor and its updater, written major.minor (1.18).
namespace varkunda::protocol {

struct VersionNumber {
    unsigned major = 0;
    unsigned minor = 0;

    // Major first, then minor, each as a number: 2.0 is newer than 1.17.
    auto operator<=>(const VersionNumber&) const = default;
};

// "major.minor" or a lone "major" (minor 0), decimal digits only. Blanks and line
// breaks around the text, and a leading UTF-8 byte-order mark, are ignored; anything
// else, or a part longer than nine digits, gives nothing.
std::optional<VersionNumber> ParseVersionText(std::string_view text);

// The text without the surrounding blanks, line breaks and byte-order mark that
// ParseVersionText ignores.
std::string_view TrimVersionText(std::string_view text);

// "major.minor", as the editor writes its own and the updater's file versions.
std::string FormatVersion(VersionNumber version);

}  // namespace varkunda::protocol
