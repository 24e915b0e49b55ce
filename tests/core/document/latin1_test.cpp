#include "core/document/latin1.h"

#include <gtest/gtest.h>

using namespace tafelbau;

TEST(Latin1, WholeNumberForms)
{
    struct Case
    {
        const char *text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"10*GTBScale", 10},
        {" \t-3", -3},
        {"+7", 7},
        {"$10", 16},
        {"$ff", 255},
        {"-$10", -16},
        {"%101", 5},
        {"%2", 0},
        {"abc", 0},
        {"", 0},
        {"$", 0},
        {"- 5", 0},
        {"$FFFFFFFF", -1},
        {"4294967296", 0},
        {"99999999999999999999999999999999999999", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseWholeNumber(c.text), c.expected) << c.text;
    EXPECT_EQ(parseDecimal("$10"), 0);
    EXPECT_EQ(parseDecimal("-2147483648"), INT32_MIN);
}

TEST(Latin1, Utf8RoundTripAndReplacement)
{
    EXPECT_EQ(latin1ToUtf8("gr\xF6\337e"), "gr\xC3\xB6\xC3\237e");
    EXPECT_EQ(utf8ToLatin1("gr\xC3\xB6\xC3\237e"), "gr\xF6\337e");
    struct Case
    {
        const char *utf8;
        const char *latin1;
    };
    const Case cases[] = {
        {"\xE2\x82\xAC", "?"},       // above 255
        {"\xC3", "?"},               // cut short
        {"\xC0\xAF", "?"},           // overlong form: one sequence
        {"\xED\xA0\x80", "?"},       // surrogate
        {"\xF0\x9F\x98\x80x", "?x"}, // emoji
        {"\xFF\xFE", "??"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(utf8ToLatin1(c.utf8), c.latin1) << c.utf8;
}

TEST(Latin1, FoldingTouchesOnlyAsciiLetters)
{
    EXPECT_TRUE(equalsFolded("General", "gENERAL"));
    EXPECT_FALSE(equalsFolded("\xC4", "\xE4"));
    EXPECT_EQ(foldedCopy("AZaz[]\xC4"), "azaz[]\xC4");
}
