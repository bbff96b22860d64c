#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varkunda::link {

// Where the link writes its diagnostics: the debug console in the editor, standard
// output in a command-line tool, a recorder in tests. Unset callbacks drop the text.
struct LinkLog {
    // One new line of the log that scrolls the console to its end (ConsolePrint).
    std::function<void(const std::string& line)> print;
    // One new line appended without scrolling the console.
    std::function<void(const std::string& line)> appendDirect;
    // Many lines at once, as if printed one by one; the console appends them as one
    // block and scrolls once. Falls back to `print` per line when unset.
    std::function<void(const std::vector<std::string>& lines)> printLines;

    void Print(const std::string& line) const {
        if (print) print(line);
    }
    void AppendDirect(const std::string& line) const {
        if (appendDirect) appendDirect(line);
    }
    void PrintLines(const std::vector<std::string>& lines) const {
        if (printLines) {
            printLines(lines);
            return;
        }
        for (const auto& line : lines) Print(line);
    }
};

}  // namespace varkunda::link
