#include "ui/codegen/purebasichighlighter.h"

#include <QScopedValueRollback>
#include <QTextDocument>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

namespace tafelbau {

namespace {

// A block's user state: coloured since its text last changed. Qt starts
// every block at -1, and no line's colours depend on the line before, so
// the state is free for this.
constexpr int kColoured = 1;

// Lower case, searched without building a string per word: the first fill
// of a big list colours hundreds of thousands of words.
const char *const kKeywords[] = {
    "and", "array", "break", "case", "compilercase", "compilerdefault", "compilerelse", "compilerelseif",
    "compilerendif", "compilerendselect", "compilerif", "compilerselect", "continue", "data", "datasection",
    "debug", "declare", "declaremodule", "default", "define", "dim", "else", "elseif", "end",
    "enddatasection", "enddeclaremodule", "endenumeration", "endif", "endimport", "endmacro", "endmodule",
    "endprocedure", "endselect", "endstructure", "endwith", "enumeration", "enumerationbinary", "for",
    "foreach", "forever", "global", "gosub", "goto", "if", "import", "includefile", "list", "macro", "map",
    "module", "newlist", "newmap", "next", "not", "or", "procedure", "procedurereturn", "protected", "repeat",
    "return", "runtime", "select", "shared", "static", "step", "structure", "swap", "threaded", "to", "until",
    "wend", "while", "with", "xincludefile", "xor",
};

// Below zero, zero or above as `word` sorts before, with or after the
// lower-case `key`, ASCII letters compared without regard to case.
int compareFolded(QStringView word, std::string_view key)
{
    const std::size_t n = std::min(static_cast<std::size_t>(word.size()), key.size());
    for (std::size_t i = 0; i < n; ++i) {
        char16_t a = word[static_cast<qsizetype>(i)].unicode();
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a + 32);
        const auto b = static_cast<char16_t>(static_cast<unsigned char>(key[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    const auto length = static_cast<std::size_t>(word.size());
    return length < key.size() ? -1 : length > key.size() ? 1 : 0;
}

bool isKeyword(QStringView word)
{
    static const std::vector<std::string_view> sorted = [] {
        std::vector<std::string_view> v(std::begin(kKeywords), std::end(kKeywords));
        std::sort(v.begin(), v.end());
        return v;
    }();
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), word,
                                     [](std::string_view k, QStringView w) { return compareFolded(w, k) > 0; });
    return it != sorted.end() && compareFolded(word, *it) == 0;
}

bool startsWord(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool inWord(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isHexDigit(QChar c)
{
    return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
}

QTextCharFormat coloured(const char *colour, bool bold = false, bool italic = false)
{
    QTextCharFormat f;
    f.setForeground(QColor(QLatin1StringView(colour)));
    if (bold)
        f.setFontWeight(QFont::Bold);
    f.setFontItalic(italic);
    return f;
}

} // namespace

PureBasicHighlighter::PureBasicHighlighter(QTextDocument *document)
    : QSyntaxHighlighter(document),
      m_keyword(coloured("#0000a0", true)),
      m_string(coloured("#a31515")),
      m_comment(coloured("#6a737d", false, true)),
      m_constant(coloured("#7a3e9d")),
      m_number(coloured("#0a7a5a"))
{
    // In place of the base class's own handling, which colours every
    // changed line at once.
    disconnect(document, &QTextDocument::contentsChange, this, nullptr);
    connect(document, &QTextDocument::contentsChange, this, &PureBasicHighlighter::forget);
}

PureBasicHighlighter::~PureBasicHighlighter()
{
    // The base class's destructor lets go of the document by changing it,
    // and the change would reach forget() of an object that is no longer
    // a PureBasicHighlighter.
    if (const QTextDocument *doc = document())
        disconnect(doc, &QTextDocument::contentsChange, this, &PureBasicHighlighter::forget);
}

bool PureBasicHighlighter::isColoured(const QTextBlock &block)
{
    return block.userState() == kColoured;
}

void PureBasicHighlighter::colourBlocks(QTextBlock first, const QTextBlock &last)
{
    // Colouring is itself a change of the document; it must not make the
    // block lose its colours again.
    const QScopedValueRollback<bool> guard(m_colouring, true);
    if (last.isValid() && last.blockNumber() < first.blockNumber())
        return; // else the walk below would run to the end of the document
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        if (!isColoured(b)) {
            // Set first: the base class colours the next block as well when
            // colouring changes a block's state.
            b.setUserState(kColoured);
            rehighlightBlock(b);
        }
        if (b == last)
            break;
    }
}

void PureBasicHighlighter::forget(int from, int removed, int added)
{
    if (m_colouring)
        return;
    // The blocks the base class would colour again: from the change's
    // start to the block holding the character after it.
    const QTextDocument *doc = document();
    const QTextBlock last = doc->findBlock(from + added + (removed > 0 ? 1 : 0));
    for (QTextBlock b = doc->findBlock(from); b.isValid(); b = b.next()) {
        b.setUserState(-1);
        if (b == last)
            break;
    }
}

QTextCharFormat PureBasicHighlighter::format(Token token) const
{
    switch (token) {
    case Token::Keyword: return m_keyword;
    case Token::String: return m_string;
    case Token::Comment: return m_comment;
    case Token::Constant: return m_constant;
    case Token::Number: return m_number;
    case Token::Plain: break;
    }
    return {};
}

void PureBasicHighlighter::highlightBlock(const QString &text)
{
    const int n = std::min<int>(static_cast<int>(text.size()), kMaxColouredLength);
    int i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char(';')) {
            setFormat(i, n - i, m_comment);
            return;
        }
        int j = i + 1;
        if (c == QLatin1Char('"')) {
            while (j < n && text[j] != QLatin1Char('"'))
                ++j;
            j = std::min(j + 1, n);
            setFormat(i, j - i, m_string);
        } else if (c == QLatin1Char('#') && j < n && startsWord(text[j])) {
            while (j < n && inWord(text[j]))
                ++j;
            setFormat(i, j - i, m_constant);
        } else if (startsWord(c)) {
            while (j < n && inWord(text[j]))
                ++j;
            if (isKeyword(QStringView(text).mid(i, j - i)))
                setFormat(i, j - i, m_keyword);
        } else if (c.isDigit() || (c == QLatin1Char('$') && j < n && isHexDigit(text[j]))) {
            const bool hex = c == QLatin1Char('$');
            while (j < n && (hex ? isHexDigit(text[j]) : (text[j].isDigit() || text[j] == QLatin1Char('.'))))
                ++j;
            setFormat(i, j - i, m_number);
        }
        i = j;
    }
}

} // namespace tafelbau
