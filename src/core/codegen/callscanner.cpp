#include "core/codegen/callscanner.h"

#include "core/document/latin1.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tafelbau {

namespace {

enum Class : std::uint8_t {
    Plain,
    Blank,
    Break,
    Semicolon,
    Quote,
    Tilde,
    Apostrophe,
    Hash,
    Digit,
    Dollar,
    Percent,
    Letter,
    OpenParen,
    CloseParen,
    Comma,
    Colon,
    Equals,
    Compare,
    Dot,
    Reference, // "\" and "@": what follows is a field or an address, not a call
    OpenBracket,
    CloseBracket,
};

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> t{};
    for (unsigned char c : {' ', '\t', '\f', '\v'})
        t[c] = Blank;
    t['\r'] = t['\n'] = Break;
    t[';'] = Semicolon;
    t['"'] = Quote;
    t['~'] = Tilde;
    t['\''] = Apostrophe;
    t['#'] = Hash;
    for (int c = '0'; c <= '9'; ++c)
        t[static_cast<std::size_t>(c)] = Digit;
    t['$'] = Dollar;
    t['%'] = Percent;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[static_cast<std::size_t>(c)] = t[static_cast<std::size_t>(c - 'A' + 'a')] = Letter;
    t['_'] = Letter;
    t['('] = OpenParen;
    t[')'] = CloseParen;
    t[','] = Comma;
    t[':'] = Colon;
    t['='] = Equals;
    t['<'] = t['>'] = Compare;
    t['.'] = Dot;
    t['\\'] = t['@'] = Reference;
    t['['] = OpenBracket;
    t[']'] = CloseBracket;
    return t;
}

constexpr std::array<std::uint8_t, 256> kClass = makeClasses();

constexpr std::array<bool, 256> makeWordBytes()
{
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<std::size_t>(c)] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || c == '_';
    return t;
}

constexpr std::array<bool, 256> kWord = makeWordBytes();

Class classOf(char c)
{
    return static_cast<Class>(kClass[static_cast<unsigned char>(c)]);
}

bool isWord(char c)
{
    return kWord[static_cast<unsigned char>(c)];
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isDefinitionKeyword(std::string_view word)
{
    static constexpr std::string_view kKeywords[] = {"procedure", "procedurec",  "proceduredll", "procedurecdll",
                                                     "declare",   "declarec",    "declaredll",   "declarecdll",
                                                     "prototype", "prototypec",  "macro"};
    for (std::string_view k : kKeywords)
        if (equalsFolded(word, k))
            return true;
    return false;
}

// The few tokens before a call that decide whether it is assigned or
// defined rather than called.
enum class Recent : std::uint8_t { None, Identifier, Dot, Assign, Close, Blocker, Other };

struct RecentToken
{
    Recent kind = Recent::None;
    std::string_view name; ///< identifier without "$"; for ")" the identifier before its "("
};

class Scanner
{
public:
    Scanner(std::string_view source, const FunctionTable &functions, std::size_t maxArguments, const CallSink &sink)
        : m_s(source), m_functions(functions), m_maxArguments(std::max<std::size_t>(maxArguments, 1)), m_sink(sink)
    {
    }

    void run();

private:
    struct Frame
    {
        std::int32_t call = -1;        ///< index in m_calls, -1 for plain parentheses
        std::int32_t nearestCall = -1; ///< the innermost frame of a call, this one or one below it
        bool full = false;             ///< the call holds m_maxArguments arguments already
        std::size_t cleanOpen = 0;     ///< where its "(" stands in the cleaned text
        std::string_view before;       ///< identifier right before the "("
    };

    // A call's arguments as they stood at the first line break inside it,
    // for the case that it never closes.
    struct Snapshot
    {
        bool taken = false;
        bool hasOpen = false;
        std::size_t args = 0;
        CallArgument open;
    };

    void lineBreak();
    void identifier();
    void openParen();
    void closeParen();
    void comma();
    void other(std::size_t length) { token(TokenKind::Other, Recent::Other, m_pos, m_pos + length); }
    void token(TokenKind kind, Recent recent, std::size_t b, std::size_t e, std::string_view name = {});
    void noteArgumentToken(TokenKind kind, std::size_t cleanBegin, std::size_t cleanEnd);
    void remember(Recent kind, std::string_view name);
    void statementEnd()
    {
        m_recent.fill({});
        m_brackets = 0;
    }
    std::string_view assignedName() const;
    bool definitionOrReference() const;
    void appendClean(char c);
    std::size_t lineEnd(std::size_t from) const { return std::min(findEitherByte(m_s, from, '\r', '\n'), m_s.size()); }
    void finish();
    void flush();

    std::string_view m_s;
    const FunctionTable &m_functions;
    std::size_t m_maxArguments;
    const CallSink &m_sink;

    std::size_t m_pos = 0;
    std::size_t m_line = 1;
    std::vector<Frame> m_frames;
    std::size_t m_unbroken = 0; ///< frames from here on have seen no line break yet
    int m_openCalls = 0;
    std::vector<SourceCall> m_calls;
    std::vector<Snapshot> m_snapshots;
    // Only text inside an open call is kept: that is all argument positions
    // refer to.
    std::string m_clean;
    std::size_t m_cleanTokenEnd = 0;
    bool m_afterBreak = false;
    std::array<RecentToken, 4> m_recent{}; ///< [0] is the newest

    int m_pendingFunction = -1; ///< an identifier naming a function, its "(" at m_pendingParen
    std::size_t m_pendingParen = 0;
    std::size_t m_pendingLine = 0;
    std::size_t m_pendingCleanBegin = 0;
    std::string_view m_pendingAssigned;
    std::string m_key;
    // Identifiers before the open "[" of a static array ("Knopf[0] = "),
    // as deep as anyone nests them; past that only counted.
    std::array<std::string_view, 8> m_bracketNames{};
    std::size_t m_brackets = 0;
};

void Scanner::run()
{
    const std::size_t n = m_s.size();
    while (m_pos < n) {
        const char c = m_s[m_pos];
        switch (classOf(c)) {
        case Break:
            lineBreak();
            m_pos += (c == '\r' && m_pos + 1 < n && m_s[m_pos + 1] == '\n') ? 2 : 1;
            break;
        case Blank: {
            std::size_t e = m_pos + 1;
            while (e < n && classOf(m_s[e]) == Blank)
                ++e;
            if (m_openCalls > 0 && !m_afterBreak)
                m_clean.append(m_s.data() + m_pos, e - m_pos);
            m_pos = e;
            break;
        }
        case Semicolon:
            m_pos = lineEnd(m_pos);
            break;
        case Quote: {
            // Plain strings know no escapes and end at the line's end.
            std::size_t e = m_pos + 1;
            while (e < n && m_s[e] != '"' && classOf(m_s[e]) != Break)
                ++e;
            const bool closed = e < n && m_s[e] == '"';
            token(closed ? TokenKind::String : TokenKind::OpenString, Recent::Other, m_pos, closed ? e + 1 : e);
            break;
        }
        case Tilde: {
            if (m_pos + 1 >= n || m_s[m_pos + 1] != '"') {
                other(1);
                break;
            }
            std::size_t e = m_pos + 2;
            while (e < n && m_s[e] != '"' && classOf(m_s[e]) != Break)
                e += (m_s[e] == '\\' && e + 1 < n && classOf(m_s[e + 1]) != Break) ? 2 : 1;
            const bool closed = e < n && m_s[e] == '"';
            token(closed ? TokenKind::EscapedString : TokenKind::OpenString, Recent::Other, m_pos,
                  closed ? e + 1 : e);
            break;
        }
        case Apostrophe: {
            std::size_t e = m_pos + 1;
            while (e < n && m_s[e] != '\'' && classOf(m_s[e]) != Break)
                ++e;
            other((e < n && m_s[e] == '\'' ? e + 1 : e) - m_pos);
            break;
        }
        case Hash: {
            if (m_pos + 1 >= n || classOf(m_s[m_pos + 1]) != Letter) {
                other(1);
                break;
            }
            std::size_t e = m_pos + 2;
            while (e < n && isWord(m_s[e]))
                ++e;
            if (e < n && m_s[e] == '$')
                ++e;
            token(TokenKind::Constant, Recent::Other, m_pos, e);
            break;
        }
        case Digit: {
            std::size_t e = m_pos + 1;
            while (e < n && (isWord(m_s[e]) || m_s[e] == '.'))
                ++e;
            token(TokenKind::Number, Recent::Other, m_pos, e);
            break;
        }
        case Dollar:
        case Percent: {
            auto fits = [c](char d) { return c == '$' ? isHexDigit(d) : (d == '0' || d == '1'); };
            std::size_t e = m_pos + 1;
            while (e < n && fits(m_s[e]))
                ++e;
            if (e == m_pos + 1)
                other(1);
            else
                token(TokenKind::Number, Recent::Other, m_pos, e);
            break;
        }
        case Letter:
            identifier();
            break;
        case OpenParen:
            openParen();
            break;
        case CloseParen:
            closeParen();
            break;
        case Comma:
            comma();
            break;
        case Colon:
            if (m_pos + 1 < n && m_s[m_pos + 1] == ':') {
                token(TokenKind::Other, Recent::Blocker, m_pos, m_pos + 2); // Module::Name
            } else if (m_frames.empty()) {
                statementEnd();
                ++m_pos;
            } else {
                other(1);
            }
            break;
        case Equals:
            token(TokenKind::Other, Recent::Assign, m_pos, m_pos + 1);
            break;
        case Compare:
            // "<=", ">=" and "<>" are no assignment.
            other((m_pos + 1 < n && (m_s[m_pos + 1] == '=' || m_s[m_pos + 1] == '>')) ? 2 : 1);
            break;
        case Dot:
            token(TokenKind::Other, Recent::Dot, m_pos, m_pos + 1);
            break;
        case Reference:
            token(TokenKind::Other, Recent::Blocker, m_pos, m_pos + 1);
            break;
        case OpenBracket:
            if (m_brackets < m_bracketNames.size())
                m_bracketNames[m_brackets] =
                    m_recent[0].kind == Recent::Identifier ? m_recent[0].name : std::string_view();
            ++m_brackets;
            other(1);
            break;
        case CloseBracket:
            if (m_brackets == 0) {
                other(1);
                break;
            }
            --m_brackets;
            token(TokenKind::Other, Recent::Close, m_pos, m_pos + 1,
                  m_brackets < m_bracketNames.size() ? m_bracketNames[m_brackets] : std::string_view());
            break;
        default:
            other(1);
            break;
        }
    }
    finish();
}

void Scanner::lineBreak()
{
    for (std::size_t i = m_unbroken; i < m_frames.size(); ++i) {
        const Frame &f = m_frames[i];
        if (f.call < 0)
            continue;
        const SourceCall &c = m_calls[static_cast<std::size_t>(f.call)];
        Snapshot &s = m_snapshots[static_cast<std::size_t>(f.call)];
        s.taken = true;
        s.hasOpen = !f.full;
        s.args = f.full ? c.args.size() : c.args.size() - 1;
        if (s.hasOpen) {
            s.open = c.args.back();
            s.open.end = m_cleanTokenEnd;
        }
    }
    m_unbroken = m_frames.size();
    if (m_openCalls > 0) {
        // Blanks before the break and the indentation after it become one.
        m_clean.resize(m_cleanTokenEnd);
        m_clean.push_back(' ');
        m_afterBreak = true;
    }
    ++m_line;
    if (m_frames.empty())
        statementEnd();
}

void Scanner::identifier()
{
    const std::size_t n = m_s.size();
    std::size_t e = m_pos + 1;
    while (e < n && isWord(m_s[e]))
        ++e;
    const std::string_view name = m_s.substr(m_pos, e - m_pos);
    if (e < n && m_s[e] == '$')
        ++e;
    std::size_t paren = e;
    while (paren < n && (m_s[paren] == ' ' || m_s[paren] == '\t'))
        ++paren;
    if (paren < n && m_s[paren] == '(' && !m_functions.empty()) {
        m_key.assign(m_s.data() + m_pos, e - m_pos);
        for (char &ch : m_key)
            ch = foldAscii(ch);
        const auto hit = m_functions.find(m_key);
        if (hit != m_functions.end() && !definitionOrReference()) {
            m_pendingFunction = hit->second;
            m_pendingParen = paren;
            m_pendingLine = m_line;
            m_pendingCleanBegin = m_clean.size();
            m_pendingAssigned = assignedName();
        }
    }
    token(TokenKind::Identifier, Recent::Identifier, m_pos, e, name);
}

std::string_view Scanner::assignedName() const
{
    if (m_recent[0].kind != Recent::Assign)
        return {};
    const RecentToken &target = m_recent[1];
    if (target.kind == Recent::Identifier) {
        // "close.i = ": the identifier after the dot is the type.
        if (m_recent[2].kind == Recent::Dot && m_recent[3].kind == Recent::Identifier)
            return m_recent[3].name;
        return target.name;
    }
    if (target.kind == Recent::Close) // an array element: "Knopf(3) = ", "Knopf[0] = "
        return target.name;
    return {};
}

bool Scanner::definitionOrReference() const
{
    const RecentToken &r = m_recent[0];
    if (r.kind == Recent::Blocker)
        return true;
    if (r.kind != Recent::Identifier)
        return false;
    if (isDefinitionKeyword(r.name))
        return true;
    return m_recent[1].kind == Recent::Dot && m_recent[2].kind == Recent::Identifier
        && isDefinitionKeyword(m_recent[2].name); // Procedure.i Name(
}

void Scanner::openParen()
{
    const bool isCall = m_pendingFunction >= 0 && m_pendingParen == m_pos;
    Frame f;
    if (m_recent[0].kind == Recent::Identifier)
        f.before = m_recent[0].name;
    f.cleanOpen = m_clean.size();
    // The parenthesis is a token of the argument it stands in.
    token(TokenKind::Group, Recent::Other, m_pos, m_pos + 1);
    f.nearestCall = m_frames.empty() ? -1 : m_frames.back().nearestCall;
    if (isCall) {
        f.call = static_cast<std::int32_t>(m_calls.size());
        SourceCall &c = m_calls.emplace_back();
        c.function = m_pendingFunction;
        c.line = m_pendingLine;
        c.assignedTo = m_pendingAssigned;
        c.cleanBegin = m_pendingCleanBegin;
        if (f.nearestCall >= 0) {
            const Frame &outer = m_frames[static_cast<std::size_t>(f.nearestCall)];
            if (!outer.full) {
                c.parent = outer.call;
                c.parentArgument = m_calls[static_cast<std::size_t>(outer.call)].args.size() - 1;
            }
        }
        f.nearestCall = static_cast<std::int32_t>(m_frames.size());
        CallArgument &a = c.args.emplace_back();
        a.begin = a.end = m_clean.size();
        a.line = m_line;
        m_snapshots.emplace_back();
        ++m_openCalls;
        m_pendingFunction = -1;
    }
    m_frames.push_back(f);
}

void Scanner::closeParen()
{
    if (m_frames.empty()) {
        other(1);
        return;
    }
    const Frame f = m_frames.back();
    if (f.call >= 0) {
        SourceCall &c = m_calls[static_cast<std::size_t>(f.call)];
        if (!f.full)
            c.args.back().end = m_clean.size();
        if (c.args.size() == 1 && c.args[0].tokens == 0)
            c.args.clear();
    }
    if (m_openCalls > 0)
        appendClean(')');
    if (f.call >= 0)
        m_calls[static_cast<std::size_t>(f.call)].cleanEnd = m_clean.size();
    m_frames.pop_back();
    m_unbroken = std::min(m_unbroken, m_frames.size());
    if (f.call >= 0)
        --m_openCalls;
    if (!m_frames.empty() && m_frames.back().call >= 0 && !m_frames.back().full) {
        CallArgument &a = m_calls[static_cast<std::size_t>(m_frames.back().call)].args.back();
        a.last = TokenKind::Group;
        a.lastBegin = f.cleanOpen;
        a.lastEnd = m_clean.size();
    }
    remember(Recent::Close, f.before);
    ++m_pos;
    if (m_openCalls == 0 && !m_calls.empty())
        flush();
}

void Scanner::comma()
{
    if (m_frames.empty() || m_frames.back().call < 0) {
        other(1);
        return;
    }
    Frame &f = m_frames.back();
    SourceCall &c = m_calls[static_cast<std::size_t>(f.call)];
    if (!f.full)
        c.args.back().end = m_clean.size();
    appendClean(',');
    if (c.args.size() >= m_maxArguments) {
        f.full = true;
    } else {
        CallArgument &a = c.args.emplace_back();
        a.begin = a.end = m_clean.size();
        a.line = m_line;
    }
    remember(Recent::Other, {});
    ++m_pos;
}

void Scanner::appendClean(char c)
{
    m_clean.push_back(c);
    m_cleanTokenEnd = m_clean.size();
    m_afterBreak = false;
}

void Scanner::token(TokenKind kind, Recent recent, std::size_t b, std::size_t e, std::string_view name)
{
    if (m_openCalls > 0) {
        const std::size_t cleanBegin = m_clean.size();
        m_clean.append(m_s.data() + b, e - b);
        m_cleanTokenEnd = m_clean.size();
        m_afterBreak = false;
        if (!m_frames.empty())
            noteArgumentToken(kind, cleanBegin, m_clean.size());
    }
    remember(recent, name);
    m_pos = e;
}

void Scanner::noteArgumentToken(TokenKind kind, std::size_t cleanBegin, std::size_t cleanEnd)
{
    const Frame &f = m_frames.back();
    if (f.call < 0 || f.full)
        return;
    CallArgument &a = m_calls[static_cast<std::size_t>(f.call)].args.back();
    if (a.tokens == 0) {
        a.first = kind;
        a.firstBegin = cleanBegin;
        a.firstEnd = cleanEnd;
        a.line = m_line;
    }
    a.last = kind;
    a.lastBegin = cleanBegin;
    a.lastEnd = cleanEnd;
    ++a.tokens;
}

void Scanner::remember(Recent kind, std::string_view name)
{
    m_recent[3] = m_recent[2];
    m_recent[2] = m_recent[1];
    m_recent[1] = m_recent[0];
    m_recent[0] = {kind, name};
}

void Scanner::finish()
{
    for (const Frame &f : m_frames) {
        if (f.call < 0)
            continue;
        SourceCall &c = m_calls[static_cast<std::size_t>(f.call)];
        const Snapshot &s = m_snapshots[static_cast<std::size_t>(f.call)];
        if (s.taken) {
            // A call that runs to the end of the file most likely lost its
            // ")": what stood on its own line is what it meant.
            c.args.resize(s.args);
            if (s.hasOpen)
                c.args.push_back(s.open);
            c.end = SourceCall::End::LineEnd;
        } else {
            if (!f.full)
                c.args.back().end = m_clean.size();
            c.end = SourceCall::End::FileEnd;
        }
        if (c.args.size() == 1 && c.args[0].tokens == 0)
            c.args.clear();
        c.cleanEnd = m_clean.size();
    }
    m_frames.clear();
    m_openCalls = 0;
    if (!m_calls.empty())
        flush();
}

void Scanner::flush()
{
    m_sink(m_calls, m_clean);
    m_calls.clear();
    m_snapshots.clear();
    m_clean.clear();
    m_cleanTokenEnd = 0;
    m_afterBreak = false;
}

} // namespace

void scanCalls(std::string_view source, const FunctionTable &functions, std::size_t maxArguments,
               const CallSink &sink)
{
    Scanner(source, functions, maxArguments, sink).run();
}

} // namespace tafelbau
