#include "core/document/latin1.h"

#include <gtest/gtest.h>

using namespace tafelbau;

TEST(Latin1, WholeNumberForms)
{
    const std::pair<const char *, std::int32_t> cases[] = {
        {"10*GTBScale", 10}, {" \t-3", -3}, {"+7", 7}, {"$10", 16}, {"$ff", 255}, {"-$10", -16},     {"%101", 5},
        {"%2", 0},           {"abc", 0},    {"", 0},   {"$", 0},    {"- 5", 0},   {"$FFFFFFFF", -1}, {"4294967296", 0}};
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(parseWholeNumber(text), expected) << text;
    EXPECT_EQ(parseWholeNumber(std::string(38, '9')), -1);
    EXPECT_EQ(parseDecimal("$10"), 0);
    EXPECT_EQ(parseDecimal("-2147483648"), INT32_MIN);
}

TEST(Latin1, Utf8RoundTripAndReplacement)
{
    EXPECT_EQ(latin1ToUtf8("gr\xF6\337e"), "gr\xC3\xB6\xC3\237e");
    EXPECT_EQ(utf8ToLatin1("gr\xC3\xB6\xC3\237e"), "gr\xF6\337e");
    // Above 255, cut short, an overlong form (one sequence), a surrogate, an emoji, bytes that start nothing.
    const std::pair<const char *, const char *> cases[] = {{"\xE2\x82\xAC", "?"},       {"\xC3", "?"},
                                                           {"\xC0\xAF", "?"},           {"\xED\xA0\x80", "?"},
                                                           {"\xF0\x9F\x98\x80x", "?x"}, {"\xFF\xFE", "??"}};
    for (const auto &[utf8, latin1] : cases)
        EXPECT_EQ(utf8ToLatin1(utf8), latin1) << utf8;
}
