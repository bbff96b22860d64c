#include "protocol/UpdaterCommandLine.h"

namespace varkunda::protocol {

std::string QuoteCommandLineArgument(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string UpdaterParameterText(std::string_view newEditorPath, std::string_view editorPath) {
    return QuoteCommandLineArgument(newEditorPath) + " " + QuoteCommandLineArgument(editorPath);
}

}  // namespace varkunda::protocol
