#include <gtest/gtest.h>

#include "protocol/VersionText.h"

using namespace varkunda::protocol;

namespace {
struct ParseCase {
    const char* text;
    std::optional<VersionNumber> expected;
};
}  // namespace

TEST(VersionText, ReadsMajorAndMinorIgnoringSurroundingBlanks) {
    const ParseCase cases[] = {
        {"1.18", VersionNumber{1, 18}},
        {"1.18\n", VersionNumber{1, 18}},
        {" 1.18\r\n", VersionNumber{1, 18}},
        {"\t2.0 ", VersionNumber{2, 0}},
        {"\xEF\xBB\xBF"
         "1.17",
         VersionNumber{1, 17}},
        {"3", VersionNumber{3, 0}},
        {"1.05", VersionNumber{1, 5}},
        {"999999999.999999999", VersionNumber{999999999, 999999999}},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseVersionText(c.text), c.expected) << c.text;
}

TEST(VersionText, RefusesEverythingThatIsNotAVersion) {
    for (const char* text :
         {"", " \n", "1.", ".18", "1..18", "1.18.2", "v1.18", "1,18", "1 .18", "1.1 8", "-1.0",
          "+1.0", "<html>404</html>", "1.18\n2.0", "1234567890.0", "1.4294967296"})
        EXPECT_FALSE(ParseVersionText(text).has_value()) << '"' << text << '"';
}

TEST(VersionText, ComparesMajorBeforeMinorAsNumbers) {
    const VersionNumber current{1, 17};
    EXPECT_GT((VersionNumber{1, 18}), current);
    EXPECT_EQ((VersionNumber{1, 17}), current);
    EXPECT_LT((VersionNumber{1, 16}), current);
    EXPECT_GT((VersionNumber{2, 0}), current);
    EXPECT_GT((VersionNumber{1, 100}), (VersionNumber{1, 99}));
    EXPECT_LT((VersionNumber{0, 999}), (VersionNumber{1, 0}));
}

TEST(VersionText, FormatsAsMajorDotMinorAndTrimsLikeTheParser) {
    EXPECT_EQ(FormatVersion({1, 2}), "1.2");
    EXPECT_EQ(FormatVersion({12, 0}), "12.0");
    EXPECT_EQ(TrimVersionText("\xEF\xBB\xBF 1.18\r\n"), "1.18");
    EXPECT_EQ(TrimVersionText("x 1"), "x 1");
}
