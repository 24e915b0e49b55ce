#include "core/codegen/syntaximport.h"

#include "core/document/gdtlist.h"
#include "core/codegen/callscanner.h"
#include "core/codegen/import.h"
#include "core/codegen/uniqueids.h"
#include "core/document/atomicfile.h"
#include "core/document/latin1.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_map>

namespace tafelbau {

namespace {

// Placeholder kinds of a mask; P0 to P9 follow one after the other.
enum Kind : int { Other = -1, Id = 0, X, Y, Xd, Yd, Text, Flags, P0 };

// How the entry's template writes a value back: inside quotes, after "#",
// or as it is. The source must hold the same form for the value to come back
// unchanged: a quoted placeholder takes a string's content, "#[p0]" a
// constant's name.
enum class Shape : std::uint8_t { Raw, String, Constant };

struct Field
{
    Kind kind = Other;
    Shape shape = Shape::Raw;
};

struct CallPlan
{
    std::vector<Field> fields; ///< by argument position
};

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isWordByte(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9');
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

Kind kindOf(std::string_view bracketed)
{
    static constexpr std::string_view kNames[] = {"[id]", "[x]", "[y]", "[xd]", "[yd]", "[text]", "[flags]"};
    for (int i = 0; i < P0; ++i)
        if (equalsFolded(bracketed, kNames[i]))
            return static_cast<Kind>(i);
    if (bracketed.size() == 4 && bracketed[0] == '[' && foldAscii(bracketed[1]) == 'p' && bracketed[2] >= '0'
        && bracketed[2] <= '9' && bracketed[3] == ']')
        return static_cast<Kind>(P0 + (bracketed[2] - '0'));
    return Other;
}

// The function a mask names: the identifier right before the first "(" of
// its prefix, folded; empty when there is none. `paren` gets the position of
// that "(".
std::string functionOf(std::string_view importcode, std::size_t &paren)
{
    const std::string_view prefix = maskPrefix(importcode);
    paren = prefix.find('(');
    if (paren == std::string_view::npos)
        return {};
    std::size_t end = paren;
    while (end > 0 && (prefix[end - 1] == ' ' || prefix[end - 1] == '\t'))
        --end;
    std::size_t word = end > 0 && prefix[end - 1] == '$' ? end - 1 : end;
    while (word > 0 && isWordByte(prefix[word - 1]))
        --word;
    if (word == end || !isLetter(prefix[word]))
        return {};
    std::string name(prefix.substr(word, end - word));
    for (char &c : name)
        c = foldAscii(c);
    return name;
}

Shape shapeIn(std::string_view code, std::string_view placeholder, Shape fallback)
{
    for (std::size_t at = code.find('['); at != std::string_view::npos; at = code.find('[', at + 1)) {
        if (!equalsFolded(code.substr(at, placeholder.size()), placeholder))
            continue;
        const std::size_t after = at + placeholder.size();
        const char before = at > 0 ? code[at - 1] : '\0';
        if (before == '"' && after < code.size() && code[after] == '"')
            return Shape::String;
        return before == '#' ? Shape::Constant : Shape::Raw;
    }
    return fallback;
}

CallPlan planFor(const PoolEntry &entry, std::size_t paren)
{
    CallPlan plan;
    const std::string_view rest = std::string_view(entry.importcode).substr(paren + 1);
    const std::string_view sep = entry.importwerttrenn;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = sep.empty() ? std::string_view::npos : rest.find(sep, pos);
        const std::string_view field = rest.substr(pos, hit == std::string_view::npos ? hit : hit - pos);
        Field f;
        const std::size_t open = field.find('[');
        const std::size_t close = open == std::string_view::npos ? open : field.find(']', open);
        if (close != std::string_view::npos)
            f.kind = kindOf(field.substr(open, close - open + 1));
        if (f.kind == Text)
            f.shape = shapeIn(entry.code, "[text]", Shape::String);
        else if (f.kind >= P0)
            f.shape = shapeIn(entry.code, field.substr(open, close - open + 1), Shape::Raw);
        plan.fields.push_back(f);
        if (hit == std::string_view::npos)
            break;
        pos = hit + sep.size();
    }
    return plan;
}

// A whole number as the source writes a gadget number: decimal, $hex or
// %binary digits and nothing else.
std::optional<std::uint32_t> plainNumber(std::string_view t)
{
    std::size_t i = (!t.empty() && (t[0] == '$' || t[0] == '%')) ? 1 : 0;
    if (i == t.size())
        return std::nullopt;
    for (std::size_t k = i; k < t.size(); ++k) {
        const char c = t[k];
        const bool fits = t[0] == '$' ? isHexDigit(c) : t[0] == '%' ? (c == '0' || c == '1') : (c >= '0' && c <= '9');
        if (!fits)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(parseWholeNumber(t));
}

// A number in a form that regenerates unchanged: a signed whole number,
// or one scaled as generated code writes it ("10*GTBScale").
bool isKeptCoordinate(std::string_view t)
{
    std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    const char base = i < t.size() ? t[i] : '\0';
    if (base == '$' || base == '%')
        ++i;
    const std::size_t digits = i;
    while (i < t.size() && (base == '$' ? isHexDigit(t[i]) : base == '%' ? (t[i] == '0' || t[i] == '1')
                                                                         : (t[i] >= '0' && t[i] <= '9')))
        ++i;
    if (i == digits)
        return false;
    const std::string_view rest = trimBlanksTabs(t.substr(i));
    return rest.empty() || (rest[0] == '*' && equalsFolded(trimBlanksTabs(rest.substr(1)), "GTBScale"));
}

// The last identifier of a variable such as "close", "*p\close" or
// "dlg\close.i", without "$" and type.
std::optional<std::string_view> variableName(std::string_view t)
{
    std::size_t i = 0;
    for (;;) {
        if (i < t.size() && t[i] == '*')
            ++i;
        if (i >= t.size() || !isLetter(t[i]))
            return std::nullopt;
        const std::size_t b = i;
        while (i < t.size() && isWordByte(t[i]))
            ++i;
        const std::string_view last = t.substr(b, i - b);
        if (i < t.size() && t[i] == '$')
            ++i;
        if (i < t.size() && t[i] == '.') {
            const std::size_t type = ++i;
            while (i < t.size() && isWordByte(t[i]))
                ++i;
            if (i == type)
                return std::nullopt;
        }
        if (i == t.size())
            return last;
        if (t[i] != '\\')
            return std::nullopt;
        ++i;
    }
}

std::string folded(std::string_view prefix, std::string_view s)
{
    std::string out(prefix);
    for (char c : s)
        out.push_back(foldAscii(c));
    return out;
}

// How one gadget of the source is referred to by others: by its constant,
// its number or the variable that holds it. PureBasic ignores letter case.
std::optional<std::string> referenceKey(const CallArgument &a, std::string_view t)
{
    if (a.tokens == 1 && a.first == TokenKind::Constant)
        return folded("#", t.substr(1));
    if (const auto n = plainNumber(t))
        return "=" + std::to_string(*n);
    if (const auto v = variableName(t))
        return folded("", *v);
    return std::nullopt;
}

std::string_view spanText(std::string_view cleaned, std::size_t begin, std::size_t end)
{
    return trimBlanksTabs(cleaned.substr(begin, end - begin));
}

// What the message shows of a source argument: one line, not too long.
std::string shown(std::string_view t)
{
    constexpr std::size_t kLimit = 60;
    std::string out(t.substr(0, kLimit));
    for (char &c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
    if (t.size() > kLimit)
        out += "...";
    return out;
}

// The content of ~"..." as text that the template's quotes turn back into
// the same string: every escape that a plain string cannot hold becomes a
// piece joined to it.
std::string unescape(std::string_view inner, std::string_view crSep, bool &changed)
{
    std::string out;
    out.reserve(inner.size());
    changed = false;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != '\\' || i + 1 == inner.size()) {
            out.push_back(inner[i]);
            continue;
        }
        changed = true;
        switch (const char e = inner[++i]) {
        case 'r':
            if (i + 2 < inner.size() && inner[i + 1] == '\\' && inner[i + 2] == 'n') {
                out += crSep.empty() ? std::string_view("\"+#CRLF$+\"") : crSep;
                i += 2;
            } else {
                out += "\"+#CR$+\"";
            }
            break;
        case 'n': out += "\"+#LF$+\""; break;
        case 't': out += "\"+#TAB$+\""; break;
        case '"': out += "\"+#DQUOTE$+\""; break;
        case 'a': out += "\"+Chr(7)+\""; break;
        case 'b': out += "\"+Chr(8)+\""; break;
        case 'v': out += "\"+Chr(11)+\""; break;
        case 'f': out += "\"+Chr(12)+\""; break;
        default: out.push_back(e); break; // "\\" and unknown escapes: the character itself
        }
    }
    return out;
}

class SyntaxImport
{
public:
    SyntaxImport(const GdtPool &pool, GdtList &list)
        : m_pool(pool), m_list(list), m_ids(list), m_card(nextFreeCard(list))
    {
        m_plans.resize(pool.entries.size());
        for (std::size_t i = 0; i < pool.entries.size(); ++i) {
            std::size_t paren = 0;
            std::string function = functionOf(pool.entries[i].importcode, paren);
            if (function.empty())
                continue;
            m_plans[i] = planFor(pool.entries[i], paren);
            // One more than any mask takes, to tell a call that has more.
            m_maxArguments = std::max(m_maxArguments, m_plans[i].fields.size() + 1);
            m_functions.try_emplace(std::move(function), static_cast<int>(i)); // the first in pool order wins
        }
    }

    ImportReport run(std::string_view bytes)
    {
        scanCalls(bytes, m_functions, m_maxArguments,
                  [this](const std::vector<SourceCall> &calls, std::string_view cleaned) {
                      for (const SourceCall &c : calls)
                          add(c, cleaned);
                  });
        return std::move(m_report);
    }

private:
    struct PendingNote
    {
        std::size_t line;
        std::string found;
        std::string taken; ///< empty: "übernommen als" the final VarID
    };

    void add(const SourceCall &call, std::string_view cleaned);
    void readId(const SourceCall &call, const CallArgument &a, std::string_view text, const PoolEntry &entry,
                std::string &id, std::string &key);
    std::int32_t coordinate(const CallArgument *a, std::string_view text, std::string_view label);
    std::string stringValue(const CallArgument *a, std::string_view cleaned, std::string_view text,
                            std::string_view label);
    std::string constantValue(const CallArgument *a, std::string_view text, std::string_view label);
    std::string rawValue(const CallArgument *a, std::string_view text) const;
    void note(std::size_t line, std::string found, std::string taken)
    {
        m_notes.push_back({line, std::move(found), std::move(taken)});
    }

    const GdtPool &m_pool;
    GdtList &m_list;
    UniqueIds m_ids;
    std::int32_t m_card;
    std::vector<CallPlan> m_plans;
    FunctionTable m_functions;
    std::size_t m_maxArguments = 1;
    std::unordered_map<std::string, std::string> m_references; ///< reference key -> VarID
    std::vector<PendingNote> m_notes;                           ///< of the gadget being read
    ImportReport m_report;
};

constexpr std::string_view kTakenAs = "\xFC"
                                      "bernommen als ";

void SyntaxImport::add(const SourceCall &call, std::string_view cleaned)
{
    const auto at = static_cast<std::size_t>(call.function);
    const PoolEntry &entry = m_pool.entries[at];
    const CallPlan &plan = m_plans[at];
    GadgetRecord r;
    std::string id;
    std::string key;
    m_notes.clear();
    if (call.end != SourceCall::End::Closed)
        note(call.line, "Klammer nicht geschlossen",
             call.end == SourceCall::End::LineEnd ? "Werte bis zum Zeilenende gelesen"
                                                  : "Werte bis zum Dateiende gelesen");
    for (std::size_t i = 0; i < plan.fields.size(); ++i) {
        const Field &f = plan.fields[i];
        if (f.kind == Other)
            continue;
        const CallArgument *a = i < call.args.size() ? &call.args[i] : nullptr;
        const std::string_view text = a ? spanText(cleaned, a->begin, a->end) : std::string_view();
        std::string label;
        if (f.kind >= P0) {
            const std::string &pname = entry.p[static_cast<std::size_t>(f.kind - P0)];
            label = pname.empty() ? "p" + std::to_string(f.kind - P0) : pname;
        }
        switch (f.kind) {
        case Id:
            if (a && !text.empty())
                readId(call, *a, text, entry, id, key);
            break;
        case X: r.x = coordinate(a, text, "X"); break;
        case Y: r.y = coordinate(a, text, "Y"); break;
        case Xd: r.xd = coordinate(a, text, "XD"); break;
        case Yd: r.yd = coordinate(a, text, "YD"); break;
        case Text: r.text = stringValue(a, cleaned, text, "Text"); break;
        // A call without the argument regenerates with ", 0)" rather than
        // the ", )" of an empty value, which PureBasic refuses.
        case Flags: r.flags = a ? std::string(text) : std::string("0"); break;
        default: {
            std::string &p = r.p[static_cast<std::size_t>(f.kind - P0)];
            p = f.shape == Shape::String ? stringValue(a, cleaned, text, label)
                : f.shape == Shape::Constant ? constantValue(a, text, label)
                                             : rawValue(a, text);
            break;
        }
        }
    }
    if (call.args.size() > plan.fields.size()) {
        const CallArgument &extra = call.args[plan.fields.size()];
        const std::string_view rest = spanText(cleaned, extra.begin, call.args.back().end);
        note(extra.line, "mehr Argumente, als die Maske kennt (" + shown(rest) + ")", "weggelassen");
    }
    if (id.empty())
        id = m_ids.makeUnique(entry.name, id);
    m_ids.add(id);
    if (!key.empty())
        m_references[key] = id;
    for (PendingNote &n : m_notes)
        m_report.notes.push_back({n.line, entry.name + " " + id, std::move(n.found),
                                  n.taken.empty() ? std::string(kTakenAs) + id : std::move(n.taken)});
    r.varId = std::move(id);
    takeTypeOf(r, entry, m_card);
    m_list.append(std::move(r));
    ++m_report.gadgets;
}

void SyntaxImport::readId(const SourceCall &call, const CallArgument &a, std::string_view text,
                          const PoolEntry &entry, std::string &id, std::string &key)
{
    std::string candidate;
    bool constant = false;
    if (equalsFolded(text, "#PB_Any") || text == "-1") {
        if (call.assignedTo.empty()) {
            note(a.line, "VarID " + shown(text) + " ohne Zuweisung an eine Variable", {});
            return;
        }
        candidate.assign(call.assignedTo);
        key = folded("", call.assignedTo);
    } else if (a.tokens == 1 && a.first == TokenKind::Constant) {
        candidate.assign(text.substr(1));
        key = folded("#", candidate);
        constant = true;
    } else if (const auto n = plainNumber(text)) {
        candidate = entry.name + std::to_string(*n);
        key = "=" + std::to_string(*n);
    } else if (const auto v = variableName(text)) {
        candidate.assign(*v);
        key = folded("", *v);
    } else {
        note(a.line, "VarID ist weder Konstante, Zahl noch Variable (" + shown(text) + ")", {});
        return;
    }
    id = m_ids.makeUnique(candidate, id);
    // A constant that keeps its name is found without the table: the
    // common case, and a source of 50,000 of them need not fill it.
    if (constant && id == candidate)
        key.clear();
}

std::int32_t SyntaxImport::coordinate(const CallArgument *a, std::string_view text, std::string_view label)
{
    if (!a || text.empty())
        return 0;
    const std::int32_t v = parseWholeNumber(text);
    if (isKeptCoordinate(text))
        return v;
    if (equalsFolded(text, "#PB_Ignore"))
        note(a->line, std::string(label) + " ist #PB_Ignore", std::string(kTakenAs) + numberText(v));
    else
        note(a->line, std::string(label) + " ist keine Zahl (" + shown(text) + ")",
             std::string(kTakenAs) + numberText(v));
    return v;
}

std::string SyntaxImport::stringValue(const CallArgument *a, std::string_view cleaned, std::string_view text,
                                      std::string_view label)
{
    if (!a || a->tokens == 0)
        return {};
    // One literal, or literals joined by what lies between them: between
    // the template's quotes it regenerates exactly as written.
    if (a->first == TokenKind::String && a->last == TokenKind::String)
        return std::string(cleaned.substr(a->firstBegin + 1, a->lastEnd - a->firstBegin - 2));
    if (a->first == TokenKind::EscapedString && a->tokens == 1) {
        bool changed = false;
        std::string v = unescape(cleaned.substr(a->firstBegin + 2, a->firstEnd - a->firstBegin - 3),
                                 m_pool.settings.crSep, changed);
        if (changed)
            note(a->line, std::string(label) + " mit Escape-Folgen (" + shown(text) + ")",
                 std::string(kTakenAs) + "\"" + shown(v) + "\"");
        return v;
    }
    std::string v;
    if (a->first == TokenKind::String)
        v.assign(cleaned.substr(a->firstBegin + 1, a->firstEnd - a->firstBegin - 2));
    note(a->line, std::string(label) + " ist kein String (" + shown(text) + ")",
         std::string(kTakenAs) + "\"" + shown(v) + "\"");
    return v;
}

std::string SyntaxImport::constantValue(const CallArgument *a, std::string_view text, std::string_view label)
{
    if (!a || text.empty())
        return {};
    if (const auto k = referenceKey(*a, text))
        if (const auto hit = m_references.find(*k); hit != m_references.end())
            return hit->second;
    if (a->tokens == 1 && a->first == TokenKind::Constant)
        return std::string(text.substr(1));
    const auto v = variableName(text);
    std::string value(v ? *v : text);
    note(a->line, std::string(label) + " ist keine Konstante (" + shown(text) + ")",
         std::string(kTakenAs) + shown(value));
    return value;
}

std::string SyntaxImport::rawValue(const CallArgument *a, std::string_view text) const
{
    if (!a)
        return {};
    // A gadget named by its constant or its variable gets the constant of
    // the VarID it was imported as; numbers stay, as they need not name one.
    if ((a->tokens == 1 && a->first == TokenKind::Constant) || variableName(text))
        if (const auto hit = m_references.find(*referenceKey(*a, text)); hit != m_references.end())
            return "#" + hit->second;
    return std::string(text);
}

} // namespace

ImportReport importSourceSyntax(std::string_view bytes, const GdtPool &pool, GdtList &list)
{
    return SyntaxImport(pool, list).run(bytes);
}

std::string importReportMessage(const ImportReport &report, std::size_t maxNotes)
{
    std::string m = "Import: " + std::to_string(report.gadgets)
        + (report.gadgets == 1 ? " Gadget gelesen." : " Gadgets gelesen.");
    const std::size_t listed = std::min(report.notes.size(), maxNotes);
    for (std::size_t i = 0; i < listed; ++i) {
        const ImportNote &n = report.notes[i];
        // The message is UTF-8 already, so the dash needs no Latin-1 form.
        m += "\r\nZeile " + std::to_string(n.line) + ": " + latin1ToUtf8(n.gadget) + ": " + latin1ToUtf8(n.found)
            + " \xE2\x80\x93 " + latin1ToUtf8(n.taken);
    }
    if (const std::size_t rest = report.notes.size() - listed; rest > 0)
        m += "\r\n(und " + std::to_string(rest) + (rest == 1 ? " weiterer Wert)" : " weitere Werte)");
    return m;
}

SourceImport importSourceFile(const std::filesystem::path &source, const GdtPool &pool, GdtList &list,
                              std::size_t maxNotes)
{
    if (!pool.settings.readsImportAsSyntax())
        return {importFromFile(source, pool, list), {}};
    FileBytes bytes;
    if (!readWholeFile(source, bytes))
        return {Outcome::failure(latin1ToUtf8("Err - konnte Datei nicht \xF6"
                                              "ffnen: ")
                                 + source.string()),
                {}};
    const ImportReport report = importSourceSyntax(bytes.view(), pool, list);
    return {{}, importReportMessage(report, maxNotes)};
}

} // namespace tafelbau
