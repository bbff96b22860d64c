#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "protocol/HexText.h"
#include "protocol/PresetFile.h"

using namespace varkunda::protocol;

namespace {

constexpr std::array<std::uint32_t, 19> kValues = {
    0x00400000, 0x00123456, 0x00000000, 0x007FFFFF, 0x00600000, 0x0000000C, 0x00000003,
    0x00200000, 0x00000001, 0x00000016, 0x00654321, 0xFFF40000, 0x00100000, 0x00000001,
    0x00000000, 0x00333333, 0x00000001, 0x00000001, 0xABCDEF01};

std::vector<std::uint32_t> Values(const PresetReadResult& result) {
    std::vector<std::uint32_t> values;
    for (const auto& value : result.values) values.push_back(value.value);
    return values;
}

// The digit lines of kValues, the first `count` of them, joined by `separator`.
std::string Lines(std::size_t count, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += (i ? separator : "") + HexWord32(kValues[i]);
    return text;
}

}  // namespace

TEST(PresetFile, SaveWritesMarkDigitsAndSingleCarriageReturns) {
    const std::string bytes = PresetFileBytes(kValues);
    ASSERT_EQ(bytes.size(), 173u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(bytes.substr(3, 20), "00400000\r00123456\r00");
    EXPECT_EQ(bytes.substr(165), "ABCDEF01");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 18);
    EXPECT_EQ(bytes.find('\n'), std::string::npos);
}

TEST(PresetFile, ReadsBackWhatSaveWrote) {
    const auto result = ParsePresetFile(PresetFileBytes(kValues));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(Values(result), std::vector<std::uint32_t>(kValues.begin(), kValues.end()));
    EXPECT_EQ(result.values[0].text, "00400000");
}

TEST(PresetFile, EditedFilesReadTheSame) {
    const std::vector<std::uint32_t> all(kValues.begin(), kValues.end());
    std::string lowerCase = Lines(19, "\r");
    for (char& c : lowerCase) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::pair<const char*, std::string> cases[] = {
        {"CR LF", "\xEF\xBB\xBF" + Lines(19, "\r\n")},
        {"LF without mark", Lines(19, "\n")},
        {"final line end", Lines(19, "\r\n") + "\r\n"},
        {"blank lines at the end", Lines(19, "\n") + "\n\n  \n"},
        {"blanks around values", " " + Lines(19, " \t\r\n\t") + "  "},
        {"lower case", lowerCase},
    };
    for (const auto& [name, text] : cases) {
        const auto result = ParsePresetFile(text);
        ASSERT_TRUE(result.ok()) << name << ": " << result.error;
        EXPECT_EQ(Values(result), all) << name;
    }
    EXPECT_EQ(ParsePresetFile(lowerCase).values[18].text, "abcdef01");
}

TEST(PresetFile, OlderPresetsWithoutNoiseGateLinesLoad) {
    for (std::size_t count : {17u, 18u}) {
        const auto result = ParsePresetFile(Lines(count, "\r"));
        ASSERT_TRUE(result.ok()) << count << ": " << result.error;
        EXPECT_EQ(Values(result),
                  std::vector<std::uint32_t>(kValues.begin(), kValues.begin() + count));
    }
}

TEST(PresetFile, MalformedFilesAreRefusedNamingTheFirstBadLine) {
    std::string shortLine = Lines(19, "\r");
    shortLine.erase(10, 1);  // line 2 loses a digit
    std::string longLine = Lines(19, "\n");
    longLine.insert(27, "0");  // line 4 gains one
    std::string notHex = Lines(19, "\r\n");
    notHex.replace(20, 8, "0000XY12");  // line 3
    std::string innerBlank = Lines(19, "\n");
    innerBlank.insert(9, "\n");  // an empty line 2
    const std::string binary("\x00\x01\xFF\xFE garbage \x7F\x80", 16);

    const std::pair<std::string, std::string> cases[] = {
        {shortLine, "line 2 holds \"0123456\", not a value of 8 hexadecimal digits"},
        {longLine, "line 4 holds \"0007FFFFF\", not a value of 8 hexadecimal digits"},
        {notHex, "line 3 holds \"0000XY12\", not a value of 8 hexadecimal digits"},
        {innerBlank, "line 2 is empty; every line must hold a value of 8 hexadecimal digits"},
        {Lines(16, "\r"), "the file ends after line 16; a preset holds 17 to 19 values"},
        {Lines(19, "\r") + "\r00000000", "line 20 is one more than the 19 values a preset holds"},
        {"", "the file holds no values"},
        {"\xEF\xBB\xBF\r\n\r\n", "the file holds no values"},
        {binary, "line 1 holds 16 characters, not a value of 8 hexadecimal digits"},
    };
    for (const auto& [text, reason] : cases) {
        const auto result = ParsePresetFile(text);
        EXPECT_FALSE(result.ok()) << reason;
        EXPECT_EQ(result.error, reason);
        EXPECT_TRUE(result.values.empty()) << reason;
    }
}
