#include <gtest/gtest.h>

#include "platform/WindowsShell.h"

namespace {

// Each argument as CommandLineToArgvW must read it back.
TEST(WindowsCommandLine, QuotesWhatTheStartedProgramWouldSplitOrUnescape) {
    const struct {
        QString argument;
        QString quoted;
    } cases[] = {
        {"plain", "plain"},
        {R"(C:\Tools\updater.exe)", R"(C:\Tools\updater.exe)"},
        {"", R"("")"},
        {R"(C:\Program Files\KAVRO)", R"("C:\Program Files\KAVRO")"},
        {"tab\there", "\"tab\there\""},
        {R"(say "hi")", R"("say \"hi\"")"},
        {R"(a\"b)", R"("a\\\"b")"},
        {R"(C:\My Folder\)", R"("C:\My Folder\\")"},
        {R"(two\\ slashes)", R"("two\\ slashes")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        EXPECT_EQ(WindowsCommandLine({c.argument}), c.quoted);
    }
    EXPECT_EQ(WindowsCommandLine({"/S", "C:\\Program Files\\KAVRO\\Varkunda Editor"}),
              R"(/S "C:\Program Files\KAVRO\Varkunda Editor")");
    EXPECT_EQ(WindowsCommandLine({}), "");
}

}  // namespace
