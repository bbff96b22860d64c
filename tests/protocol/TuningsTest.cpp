#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/HexText.h"
#include "protocol/Tunings.h"

using namespace varkunda::protocol;

namespace {

std::string EntryText(std::size_t entry) {
    return TuningDataText().substr(entry * 2 * kTuningEntryBytes, 2 * kTuningEntryBytes);
}

}  // namespace

TEST(Tunings, ComputedEntriesMatchTheCheckValues) {
    const std::pair<std::size_t, std::string> checks[] = {
        {0,
         "007FF5EC"
         "FF002B70"
         "007FE1AB"
         "00FFD490"
         "FF80286A"},
        {1,
         "007FF552"
         "FF002E35"
         "007FDFDD"
         "00FFD1CB"
         "FF802AD0"},
        {17,
         "007FE51F"
         "FF00814D"
         "007FAF1C"
         "00FF7EB3"
         "FF806BC4"},
        {18,
         "007FBD9D"
         "FF009D1C"
         "007FAEDD"
         "00FF62E4"
         "FF809386"},
        {31,
         "007F73B6"
         "FF0162AE"
         "007F548A"
         "00FE9D52"
         "FF8137C0"},
    };
    for (const auto& [entry, bytes] : checks) EXPECT_EQ(EntryText(entry), bytes) << entry;
}

TEST(Tunings, TextIs1280UpperCaseDigitsOfThe640Bytes) {
    const std::string text = TuningDataText();
    ASSERT_EQ(text.size(), 1280u);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    }));
    EXPECT_EQ(text, BytesToHexText(TuningDataBytes()));
}

// Entry 10 (C3 in the first block) and entry 18 (C3 in the second) share a note but
// not a gain or a quality.
TEST(Tunings, TheTwoC3EntriesDiffer) {
    const auto first = TuningEntry(10);
    const auto second = TuningEntry(18);
    EXPECT_NE(first, second);
    // Deeper cut: c0 and c2 further below unity.
    EXPECT_LT(second[0], first[0]);
    EXPECT_THROW(TuningEntry(32), std::out_of_range);
}

TEST(Tunings, MessageIsTheCommandAndTheTable) {
    const auto bytes = HexTextToBytes(TuningDataMessage(TuningDataText())).value();
    ASSERT_EQ(bytes.size(), 641u);
    const std::vector<std::uint8_t> head = {0x0E, 0x00, 0x7F, 0xF5, 0xEC, 0xFF, 0x00,
                                            0x2B, 0x70, 0x00, 0x7F, 0xE1, 0xAB};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    const std::vector<std::uint8_t> tail = {0xFF, 0x81, 0x37, 0xC0};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - 4));
}
