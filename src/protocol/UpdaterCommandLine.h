#pragma once

#include <string>
#include <string_view>

// The command line the editor hands to its updater program: the only contract
// between the two.
namespace varkunda::protocol {

// One argument in double quotes, read back whole by the Windows command-line rules:
// a double quote inside is escaped with a backslash, and backslashes just before a
// double quote (or before the closing quote) are doubled. A path without double quotes
// and without a final backslash comes out as "path".
std::string QuoteCommandLineArgument(std::string_view argument);

// The updater's parameter text, "%s" "%s": the new editor's path, one space, the
// running editor's path, each quoted as above.
std::string UpdaterParameterText(std::string_view newEditorPath, std::string_view editorPath);

}  // namespace varkunda::protocol
