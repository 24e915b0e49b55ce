#include "core/document/latin1.h"

#include <gtest/gtest.h>

#include <tuple>

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
    // Cut short, an overlong form (one sequence), a surrogate, bytes that start nothing.
    const std::pair<const char *, const char *> cases[] = {
        {"\xC3", "?"}, {"\xC0\xAF", "?"}, {"\xED\xA0\x80", "?"}, {"\xFF\xFEx", "??x"}};
    for (const auto &[utf8, latin1] : cases)
        EXPECT_EQ(utf8ToLatin1(utf8), latin1) << utf8;
}

// A character beyond Latin-1 is held, not lost: back to UTF-8 it comes out
// as it went in, and nothing else is taken for one.
TEST(Latin1, CharactersBeyondLatin1AreHeldAndComeBack)
{
    const std::string euro = "\xE2\x82\xAC", dash = "\xE2\x80\x93", kanji = "\xE6\xBC\xA2", emoji = "\xF0\x9F\x98\x80";
    const std::string utf8 = "5 " + euro + " " + dash + " " + kanji + emoji + " \xC3\xA4";
    const std::string held = utf8ToLatin1(utf8);
    EXPECT_EQ(held, "5 \x1A" + euro + " \x1A" + dash + " \x1A" + kanji + "\x1A" + emoji + " \xE4");
    EXPECT_TRUE(holdsWideCharacters(held));
    EXPECT_EQ(latin1ToUtf8(held), utf8);

    // Latin-1 texts, the mark byte among them where it starts no character
    // beyond Latin-1, convert byte for byte.
    for (const std::string &latin1 : {std::string("\x1A"), std::string("a\x1A\x1A"), std::string("\x1A\xE4\x80"),
                                     std::string("\x1A\xC3\xA4"), std::string("\xE2\x82\xAC")}) {
        EXPECT_FALSE(holdsWideCharacters(latin1)) << latin1;
        EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(latin1)), latin1) << latin1;
    }
    // The mark in UTF-8 text stays the mark, also right before a held character.
    EXPECT_EQ(latin1ToUtf8(utf8ToLatin1("\x1A" + euro)), "\x1A" + euro);
}

TEST(Latin1, MentionsFolded)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"AddGadgetItem(#[p0], -1, \"[text]\")", "addgadgetitem", true},
        {"x = ADDGADGETITEM(", "addgadgetitem", true},
        {"AddGadgetIte(", "addgadgetitem", false},
        {"; PanelGadget", "panelgadget", true},
        {"PanelGadge", "panelgadget", false},
        {"ppanelgadgett", "panelgadget", true},
        {"aaaab", "aab", true},
        {"abababac", "ababac", true},
        {"", "a", false},
        {"abc", "", true},
    };
    for (const auto &[text, needle, found] : cases)
        EXPECT_EQ(mentionsFolded(text, needle), found) << text << " / " << needle;
}
