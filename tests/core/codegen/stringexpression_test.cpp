// Captions written as PureBasic expressions, and the encodings of sources.
#include "core/codegen/sourceencoding.h"
#include "core/codegen/stringexpression.h"
#include "core/document/latin1.h"

#include <gtest/gtest.h>

using namespace tafelbau;

TEST(StringExpression, PartsJoinIntoTheTextBetweenTheQuotes)
{
    const std::string crlf = "\"+#CRLF$+\"";
    const struct
    {
        const char *expression;
        std::optional<std::string> text;
        bool escapes = false;
    } cases[] = {
        {"\"Zeile 1\"", "Zeile 1"},
        {"\"a\" + \"b\"", "ab"},
        {"\"a\"+#LF$+\"b\"", "a\"+#LF$+\"b"},
        {"\"Zeile 1\" + #CRLF$ + \"Zeile 2\"", "Zeile 1" + crlf + "Zeile 2"},
        {"#cr$ + \"\" + #Lf$", crlf},
        {"\"a\" + Chr(13) + Chr( $0A )", "a" + crlf},
        {"#CR$ + \"x\" + #LF$", "\"+#CR$+\"x\"+#LF$+\""},
        {"\"Pfad:\" + #TAB$ + Chr(9) + chr(65) + Chr(34) + Chr(7)",
         "Pfad:\"+#TAB$+\"\"+#TAB$+\"A\"+#DQUOTE$+\"\"+Chr(7)+\""},
        {"~\"a\\tb\\\"c\\\\\\q\\r\\n\" + \"d\"", "a\"+#TAB$+\"b\"+#DQUOTE$+\"c\\q" + crlf + "d", true},
        {"~\"ohne\"", "ohne"},
        {"~\"\\a\\b\\v\\f\"", "\"+Chr(7)+\"\"+Chr(8)+\"\"+Chr(11)+\"\"+Chr(12)+\"", true},
        {"\"a;b\" + ~\"\\r\" + #LF$", "a;b" + crlf, true},
        {"\"Hallo \" + Name$", std::nullopt},
        {"\"a\" +", std::nullopt},
        {"\"a\" + + \"b\"", std::nullopt},
        {"", std::nullopt},
        {"\"offen", std::nullopt},
        {"~\"offen\\\"", std::nullopt},
        {"#PB_Any", std::nullopt},
        {"Chr(256)", std::nullopt},
        {"Chr(n)", std::nullopt},
        {"Chr(10", std::nullopt},
        {"\"a\" \"b\"", std::nullopt},
    };
    for (const auto &c : cases) {
        const auto read = readStringExpression(c.expression, "\"+#CRLF$+\"");
        ASSERT_EQ(read.has_value(), c.text.has_value()) << c.expression;
        if (!read)
            continue;
        EXPECT_EQ(read->text, *c.text) << c.expression;
        EXPECT_EQ(read->escapes, c.escapes) << c.expression;
    }
}

TEST(StringExpression, LineBreakCodeAndEncodingOfTheSource)
{
    // The pool's own code for a line break, and the default without one.
    EXPECT_EQ(readStringExpression("\"a\" + #CRLF$", "\"+Chr(13)+Chr(10)+\"")->text, "a\"+Chr(13)+Chr(10)+\"");
    EXPECT_EQ(readStringExpression("\"a\" + #CRLF$", "")->text, "a\"+#CRLF$+\"");
    // Read back, a text made with either code stays the same.
    for (const char *lineBreak : {"\"+#CRLF$+\"", "\"+Chr(13)+Chr(10)+\"", "\" + #CR$ + #LF$ + \""}) {
        const std::string text = readStringExpression("\"a\" + #CRLF$ + \"b\"", lineBreak)->text;
        EXPECT_EQ(readStringExpression("\"" + text + "\"", lineBreak)->text, text) << lineBreak;
    }
    EXPECT_EQ(readStringExpression("\"gr\" + Chr(246) + \"n\"", "", false)->text, "gr\xF6n");
    EXPECT_EQ(readStringExpression("\"gr\" + Chr(246) + \"n\"", "", true)->text, "gr\xC3\xB6n");
}

TEST(SourceEncoding, MarkOrValidUtf8BeyondAsciiMeansUtf8)
{
    const std::string ascii(40, 'a');
    const struct
    {
        std::string bytes;
        SourceEncoding encoding;
        std::size_t markLength = 0;
    } cases[] = {
        {"", SourceEncoding::Latin1},
        {ascii, SourceEncoding::Latin1},
        {"\xEF\xBB\xBF"
         "a",
         SourceEncoding::Utf8, 3},
        {"\xEF\xBB\xBF", SourceEncoding::Utf8, 3},
        {"\xEF\xBB\xBF"
         "gr\xF6\xDF"
         "e",
         SourceEncoding::Utf8, 3}, // the mark decides
        {ascii
             + "gr\xC3\xB6\xC3\x9F"
               "e "
             + ascii + "\xE2\x82\xAC",
         SourceEncoding::Utf8},
        {ascii
             + "gr\xF6\xDF"
               "e",
         SourceEncoding::Latin1},
        {"\xC3\xA4" + ascii + "\xC3", SourceEncoding::Latin1}, // cut off at the end
        {"\xC0\xAF", SourceEncoding::Latin1},                  // overlong
        {"\xED\xA0\x80", SourceEncoding::Latin1},              // a surrogate
    };
    for (const auto &c : cases) {
        const SourceText t = detectSourceEncoding(c.bytes);
        EXPECT_EQ(t.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(t.bytes.data(), c.bytes.data() + c.markLength) << c.bytes;
        EXPECT_EQ(t.bytes.size(), c.bytes.size() - c.markLength) << c.bytes;
    }
}

// A character beyond Latin-1 is held in the text and named for the note.
TEST(SourceEncoding, CharactersBeyondLatin1AreHeldAndNamed)
{
    std::vector<std::int32_t> wide;
    // U+00FF, the last character Latin-1 holds, is no wide one.
    const std::string text = latin1FromUtf8("Preis \xE2\x82\xAC \xC3\xBF \xF0\x9F\x98\x80", wide);
    EXPECT_EQ(latin1ToUtf8(text), "Preis \xE2\x82\xAC \xC3\xBF \xF0\x9F\x98\x80");
    EXPECT_TRUE(holdsWideCharacters(text));
    EXPECT_EQ(wide, (std::vector<std::int32_t>{0x20AC, 0x1F600}));
    wide.clear();
    EXPECT_EQ(latin1FromUtf8("gr\xC3\xB6\xC3\x9F" "e", wide), "gr\xF6\xDF" "e");
    EXPECT_EQ(latin1FromUtf8("a\xFF", wide), "a?"); // invalid after a mark: no character to name
    EXPECT_TRUE(wide.empty());
    EXPECT_EQ(codePointName(0x20AC), "U+20AC");
    EXPECT_EQ(codePointName(0x1F600), "U+1F600");
}
