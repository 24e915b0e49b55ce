#include "core/codegen/stringexpression.h"

#include "core/codegen/purebasic.h"
#include "core/document/latin1.h"

namespace tafelbau {

namespace {

constexpr std::string_view kDefaultLineBreak = "\"+#CRLF$+\"";

// Collects the text: literal runs as they are, other characters as pieces.
// A CR directly followed by a LF is one line break, however the source
// wrote the two (#CRLF$, #CR$ + #LF$, ~"\r\n", Chr(13) + Chr(10)).
class Pieces
{
public:
    Pieces(std::string_view lineBreak, bool utf8)
        : m_lineBreak(lineBreak.empty() ? kDefaultLineBreak : lineBreak), m_utf8(utf8)
    {
    }

    void literal(std::string_view s)
    {
        // "" between #CR$ and #LF$ still leaves a line break.
        if (s.empty())
            return;
        flushCr();
        m_text += s;
    }

    void character(unsigned char c)
    {
        if (c == '\n' && m_cr) {
            m_cr = false;
            m_text += m_lineBreak;
            return;
        }
        flushCr();
        switch (c) {
        case '\r': m_cr = true; break;
        case '\n': m_text += "\"+#LF$+\""; break;
        case '\t': m_text += "\"+#TAB$+\""; break;
        case '"': m_text += "\"+#DQUOTE$+\""; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                m_text += "\"+Chr(" + std::to_string(c) + ")+\"";
            } else if (c >= 0x80 && m_utf8) {
                m_text.push_back(static_cast<char>(0xC0 | (c >> 6)));
                m_text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            } else {
                m_text.push_back(static_cast<char>(c));
            }
            break;
        }
    }

    std::string finish()
    {
        flushCr();
        return std::move(m_text);
    }

private:
    void flushCr()
    {
        if (m_cr)
            m_text += "\"+#CR$+\"";
        m_cr = false;
    }

    std::string_view m_lineBreak;
    bool m_utf8;
    std::string m_text;
    bool m_cr = false;
};

bool isWordByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

class Reader
{
public:
    Reader(std::string_view s, Pieces &pieces) : m_s(s), m_pieces(pieces) {}

    bool read(bool &escapes)
    {
        for (;;) {
            skipBlanks();
            if (!part(escapes))
                return false;
            skipBlanks();
            if (m_i == m_s.size())
                return true;
            if (m_s[m_i] != '+')
                return false;
            ++m_i;
        }
    }

private:
    void skipBlanks()
    {
        while (m_i < m_s.size() && (m_s[m_i] == ' ' || m_s[m_i] == '\t'))
            ++m_i;
    }

    bool part(bool &escapes)
    {
        if (m_i == m_s.size())
            return false;
        const char c = m_s[m_i];
        if (c == '"') {
            const std::size_t close = m_s.find('"', m_i + 1);
            if (close == std::string_view::npos)
                return false;
            m_pieces.literal(m_s.substr(m_i + 1, close - m_i - 1));
            m_i = close + 1;
            return true;
        }
        if (c == '~' && m_i + 1 < m_s.size() && m_s[m_i + 1] == '"')
            return escaped(escapes);
        if (c == '#') {
            std::size_t e = m_i + 1;
            while (e < m_s.size() && isWordByte(m_s[e]))
                ++e;
            if (e < m_s.size() && m_s[e] == '$')
                ++e;
            const auto chars = characterConstant(m_s.substr(m_i, e - m_i));
            if (!chars)
                return false;
            for (char ch : *chars)
                m_pieces.character(static_cast<unsigned char>(ch));
            m_i = e;
            return true;
        }
        return chr();
    }

    // ~"...": the escapes PureBasic knows; "\\" and unknown ones give the
    // character itself.
    bool escaped(bool &escapes)
    {
        std::size_t i = m_i + 2;
        std::size_t run = i;
        for (; i < m_s.size() && m_s[i] != '"'; ++i) {
            if (m_s[i] != '\\' || i + 1 == m_s.size())
                continue;
            escapes = true;
            m_pieces.literal(m_s.substr(run, i - run));
            switch (m_s[++i]) {
            case 'r': m_pieces.character('\r'); break;
            case 'n': m_pieces.character('\n'); break;
            case 't': m_pieces.character('\t'); break;
            case '"': m_pieces.character('"'); break;
            case 'a': m_pieces.character(7); break;
            case 'b': m_pieces.character(8); break;
            case 'v': m_pieces.character(11); break;
            case 'f': m_pieces.character(12); break;
            default: m_pieces.literal(m_s.substr(i, 1)); break;
            }
            run = i + 1;
        }
        if (i == m_s.size())
            return false;
        m_pieces.literal(m_s.substr(run, i - run));
        m_i = i + 1;
        return true;
    }

    // Chr(n) with n a decimal or $hex number up to 255.
    bool chr()
    {
        if (m_s.size() - m_i < 3 || !equalsFolded(m_s.substr(m_i, 3), "chr"))
            return false;
        m_i += 3;
        skipBlanks();
        if (m_i == m_s.size() || m_s[m_i] != '(')
            return false;
        ++m_i;
        skipBlanks();
        const bool hex = m_i < m_s.size() && m_s[m_i] == '$';
        const std::size_t digits = m_i + (hex ? 1 : 0);
        std::size_t e = digits;
        while (e < m_s.size() && e - digits < 4
               && ((m_s[e] >= '0' && m_s[e] <= '9')
                   || (hex && ((m_s[e] >= 'a' && m_s[e] <= 'f') || (m_s[e] >= 'A' && m_s[e] <= 'F')))))
            ++e;
        if (e == digits)
            return false;
        const std::int32_t value = parseWholeNumber(m_s.substr(m_i, e - m_i));
        m_i = e;
        skipBlanks();
        if (m_i == m_s.size() || m_s[m_i] != ')' || value > 255)
            return false;
        ++m_i;
        m_pieces.character(static_cast<unsigned char>(value));
        return true;
    }

    std::string_view m_s;
    Pieces &m_pieces;
    std::size_t m_i = 0;
};

} // namespace

std::optional<StringExpression> readStringExpression(std::string_view expression, std::string_view lineBreak, bool utf8)
{
    Pieces pieces(lineBreak, utf8);
    StringExpression out;
    if (!Reader(expression, pieces).read(out.escapes))
        return std::nullopt;
    out.text = pieces.finish();
    return out;
}

} // namespace tafelbau
