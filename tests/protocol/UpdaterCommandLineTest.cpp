#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/UpdaterCommandLine.h"

using namespace varkunda::protocol;

namespace {
// Splits a command line as a Windows program's start-up code does (the rules of
// CommandLineToArgvW): blanks separate arguments outside quotes; 2n backslashes before
// a double quote give n backslashes and the quote opens or closes quoting; 2n+1 give n
// backslashes and a literal quote; other backslashes are literal.
std::vector<std::string> splitWindowsCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inQuotes = false, inArgument = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::size_t backslashes = 0;
        while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
        if (i < line.size() && line[i] == '"') {
            current.append(backslashes / 2, '\\');
            inArgument = true;
            if (backslashes % 2 == 1)
                current += '"';
            else
                inQuotes = !inQuotes;
            continue;
        }
        current.append(backslashes, '\\');
        if (backslashes > 0) inArgument = true;
        if (i == line.size()) break;
        if (line[i] == ' ' && !inQuotes) {
            if (inArgument) arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += line[i];
            inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}
}  // namespace

TEST(UpdaterCommandLine, PlainPathsAreEnclosedInDoubleQuotesSeparatedByOneSpace) {
    EXPECT_EQ(UpdaterParameterText(R"(C:\Users\Ann\AppData\Local\Temp\Varkunda_Editor_Update.exe)",
                                   R"(C:\Program Files\Varkunda Editor\Varkunda Editor.exe)"),
              R"("C:\Users\Ann\AppData\Local\Temp\Varkunda_Editor_Update.exe" )"
              R"("C:\Program Files\Varkunda Editor\Varkunda Editor.exe")");
}

TEST(UpdaterCommandLine, EveryPathIsReadBackWholeByTheUpdater) {
    const std::string paths[] = {
        R"(C:\Program Files\Varkunda\editor.exe)",
        R"(C:\tmp\)",
        R"(\\server\share\a b\)",
        R"(/home/ann/My "quoted" folder/varkunda editor)",
        R"(C:\odd\"name)",
        R"(C:\two\\"quote" \\)",
        "",
        "  leading and trailing blanks  ",
        "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",
    };
    for (const std::string& first : paths) {
        for (const std::string& second : paths) {
            const std::string line = UpdaterParameterText(first, second);
            EXPECT_EQ(splitWindowsCommandLine(line), (std::vector<std::string>{first, second}))
                << line;
        }
    }
}
