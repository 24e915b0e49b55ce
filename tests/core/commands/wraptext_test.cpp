#include "core/commands/wraptext.h"

#include <gtest/gtest.h>

using namespace tafelbau;

TEST(WrapText, CutsBeforeTheWordThatWouldReachBeyondTheWidth)
{
    // text, width, result
    const std::tuple<const char *, int, const char *> cases[] = {
        {"aaa bbb ccc", 10, "aaa bbb\r\nccc"},
        // The blank put before each word counts: five bytes fit width 6, not 5.
        {"ab cd", 6, "ab cd"},
        {"ab cd", 5, "ab\r\ncd"},
        // A long first word leaves an empty first line.
        {"abcdef", 3, "\r\nabcdef"},
        {"a bcdefgh i", 4, "a\r\nbcdefgh\r\ni"},
        // Nothing fits a width of 0, so every word gets its own line.
        {"a b", 0, "\r\na\r\nb"},
        {"a b", -7, "\r\na\r\nb"},
        // Umlauts are one byte each.
        {"\xE4\xE4 \xF6\xF6", 6, "\xE4\xE4 \xF6\xF6"},
    };
    for (const auto &[text, width, want] : cases)
        EXPECT_EQ(wrapText(text, width), want) << text << " / " << width;
}

TEST(WrapText, OldLineBreaksBecomeBlanksAndLinesLoseEdgeBlanks)
{
    const std::tuple<const char *, int, const char *> cases[] = {
        // Two paragraphs run into one, the empty line as two blanks.
        {"eins\r\n\r\nzwei", 50, "eins  zwei"},
        {"eins\r\nzwei drei", 10, "eins zwei\r\ndrei"},
        // Lone CR and LF are not line breaks here and stay inside the word.
        {"a\nb c", 4, "a\nb\r\nc"},
        {"a\rb", 2, "\r\na\rb"},
        // Blanks at the ends go, tabs stay.
        {"  abc  ", 20, "abc"},
        {"\tx y", 3, "\tx\r\ny"},
        // Two blanks make an empty word, which may start a line of its own.
        {"ab  cd", 3, "ab\r\n\r\ncd"},
    };
    for (const auto &[text, width, want] : cases)
        EXPECT_EQ(wrapText(text, width), want) << text << " / " << width;
}

TEST(WrapText, WrappingTwiceChangesNothing)
{
    const std::string text = "Hier kann man einen gr\xF6sseren Text eingeben, der auf mehrere Zeilen verteilt wird.";
    const std::string once = wrapText(text, 20);
    EXPECT_EQ(wrapText(once, 20), once);
    EXPECT_EQ(once,
              "Hier kann man einen\r\ngr\xF6sseren Text\r\neingeben, der auf\r\nmehrere Zeilen\r\nverteilt wird.");
}
