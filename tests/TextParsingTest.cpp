#include "platform/linux/TextParsing.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(TextParsing, NumbersAreWholeTokens)
{
    EXPECT_EQ(parseUnsigned("42"), 42u);
    EXPECT_EQ(parseUnsigned("18446744073709551615"), UINT64_MAX);
    for (const char* bad : {"", "12abc", "4.5e4", "-1", "+1", " 1", "18446744073709551616", "0x10"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseUnsigned(bad));
    }
    EXPECT_EQ(parseSigned("-273150"), -273150);
    EXPECT_FALSE(parseSigned("9223372036854775808"));
    EXPECT_EQ(parseDouble("12345.67"), 12345.67);
    EXPECT_FALSE(parseDouble("inf"));
    EXPECT_FALSE(parseDouble("nan"));
    EXPECT_FALSE(parseDouble("1e999"));
}

TEST(TextParsing, HexNumbers)
{
    EXPECT_EQ(parseHexDigits("0101A8C0"), 0x0101A8C0u);
    EXPECT_EQ(parseHexUnsigned(" 0x030000\n"), 0x030000u);
    for (const char* bad : {"", "0x", "12g", "-5", "11112222333344445"})
        EXPECT_FALSE(parseHexDigits(bad)) << bad;
    EXPECT_FALSE(parseHexUnsigned("030000"));
}

TEST(TextParsing, FilesAreTrimmedButStillWhole)
{
    EXPECT_EQ(parseUnsignedFile("  1024\n"), 1024u);
    EXPECT_FALSE(parseUnsignedFile("1024 2048\n"));
    EXPECT_EQ(parseSignedFile("-5\n"), -5);
}

TEST(TextParsing, SplitsFieldsAndLines)
{
    const LeadingFields<4> fields("  cpu0\t1  2 \n");
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0], "cpu0");
    EXPECT_EQ(fields[2], "2");
    EXPECT_EQ(fields[3], "") << "beyond the fields found";
    // Only the first N are taken, so "exactly two" is a size of 2 with N = 3.
    const LeadingFields<3> capped("16314720 kB extra more");
    EXPECT_EQ(capped.size(), 3u);
    EXPECT_EQ(capped[2], "extra");
    EXPECT_TRUE(LeadingFields<2>(" \t \n").empty());

    std::vector<std::string_view> lines;
    forEachLine("a\nb\n\nc", [&](std::string_view line) { lines.push_back(line); });
    EXPECT_EQ(lines, (std::vector<std::string_view>{"a", "b", "", "c"}));
}

TEST(TextParsing, CpuLists)
{
    EXPECT_EQ(parseCpuList("0-3,8\n"), (std::vector<uint32_t>{0, 1, 2, 3, 8}));
    EXPECT_EQ(parseCpuList(""), std::vector<uint32_t>{});
    EXPECT_FALSE(parseCpuList("3-1"));
    EXPECT_FALSE(parseCpuList("0-4294967295"));
    EXPECT_FALSE(parseCpuList("a-b"));
    EXPECT_FALSE(parseCpuList("1,,2"));
}
