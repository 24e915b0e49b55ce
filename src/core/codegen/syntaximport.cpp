#include "core/codegen/syntaximport.h"

#include "core/codegen/callscanner.h"
#include "core/codegen/dialogstructure.h"
#include "core/codegen/import.h"
#include "core/codegen/importnames.h"
#include "core/codegen/purebasic.h"
#include "core/codegen/sourceencoding.h"
#include "core/codegen/stringexpression.h"
#include "core/document/atomicfile.h"
#include "core/document/gdtlist.h"
#include "core/document/latin1.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

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
    /// What a call that leaves the argument out stands for, when PureBasic
    /// names a value.
    std::optional<OmittedArgument> omitted;
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

CallPlan planFor(const PoolEntry &entry, std::size_t paren, std::string_view function)
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
        f.omitted = omittedArgument(function, plan.fields.size());
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

// What the message shows of a source argument: one line, not too long, and
// never a held wide character cut in two.
std::string shown(std::string_view t)
{
    constexpr std::size_t kLimit = 60;
    std::size_t cut = std::min(t.size(), kLimit);
    if (const std::size_t mark = t.substr(0, cut).rfind(kWideMark); mark != std::string_view::npos && cut - mark < 5)
        if (std::uint32_t cp = 0; utf8Sequence(t, mark + 1, cp) > cut - mark - 1)
            cut = mark;
    std::string out(t.substr(0, cut));
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::uint32_t cp = 0;
        if (out[i] == kWideMark && i + 1 < out.size() && utf8Sequence(out, i + 1, cp) != 0)
            i += utf8Sequence(out, i + 1, cp);
        else if (static_cast<unsigned char>(out[i]) < 0x20 || out[i] == '\x7F')
            out[i] = ' ';
    }
    if (t.size() > cut)
        out += "...";
    return out;
}

// Takes `placeholder` out of the template when it is the last argument of
// its call, with the comma before it: a call that left the argument out is
// regenerated without it. False when the template has it elsewhere.
bool leaveOutArgument(std::string &code, std::string_view placeholder)
{
    for (std::size_t at = code.find('['); at != std::string::npos; at = code.find('[', at + 1)) {
        if (!equalsFolded(std::string_view(code).substr(at, placeholder.size()), placeholder))
            continue;
        const std::size_t after = code.find_first_not_of(" \t", at + placeholder.size());
        const std::size_t comma = at == 0 ? std::string::npos : code.find_last_not_of(" \t", at - 1);
        if (after == std::string::npos || code[after] != ')' || comma == std::string::npos || code[comma] != ',')
            return false;
        code.erase(comma, at + placeholder.size() - comma);
        return true;
    }
    return false;
}

using IdRef = ImportNames::Ref;

// Where the VarID of the gadget being read comes from.
struct IdSource
{
    ImportNames::Source kind = ImportNames::Source::MadeUp;
    std::string candidate; ///< empty: the type's name, with the gadget number if there is one
    std::string key;       ///< how other calls refer to the gadget; empty when they cannot
};

class SyntaxImport
{
public:
    SyntaxImport(const GdtPool &pool, GdtList &list)
        : m_pool(pool), m_list(list), m_names(list), m_card(nextFreeCard(list))
    {
        m_plans.resize(pool.entries.size());
        for (std::size_t i = 0; i < pool.entries.size(); ++i) {
            std::size_t paren = 0;
            std::string function = functionOf(pool.entries[i].importcode, paren);
            if (function.empty())
                continue;
            m_plans[i] = planFor(pool.entries[i], paren, function);
            // One more than any mask takes, to tell a call that has more.
            m_maxArguments = std::max(m_maxArguments, m_plans[i].fields.size() + 1);
            m_functions.try_emplace(std::move(function), static_cast<int>(i)); // the first in pool order wins
        }
        // PureBasic's own dialog functions that no entry takes are found as
        // well, to be reported rather than lost without a word.
        for (std::string_view name : dialogFunctions()) {
            const int number = static_cast<int>(pool.entries.size() + m_unknown.size());
            if (m_functions.try_emplace(folded("", name), number).second)
                m_unknown.push_back(name);
        }
    }

    ImportReport run(const SourceText &source)
    {
        m_utf8 = source.encoding == SourceEncoding::Utf8;
        scanCalls(source.bytes, m_functions, m_maxArguments,
                  [this](const std::vector<SourceCall> &calls, std::string_view cleaned) { addBatch(calls, cleaned); });
        m_names.finish(m_list, m_report.notes);
        return std::move(m_report);
    }

private:
    struct PendingNote
    {
        std::size_t line;
        std::string found;
        std::string taken; ///< empty: "übernommen als" the final VarID
    };

    // Where a waiting name goes into a parameter of the gadget being read.
    struct Fill
    {
        std::size_t field;
        std::size_t offset;
        int pending;
    };

    bool makesGadget(const SourceCall &c) const { return static_cast<std::size_t>(c.function) < m_pool.entries.size(); }
    void addBatch(const std::vector<SourceCall> &calls, std::string_view cleaned);
    void add(std::size_t index, std::string_view cleaned);
    void readId(const SourceCall &call, const CallArgument &a, std::string_view text, bool consumed, IdSource &source);
    IdRef nameOf(IdSource &source, const PoolEntry &entry, std::size_t line);
    std::int32_t coordinate(const CallArgument *a, std::string_view text, std::string_view label);
    std::string stringValue(const CallArgument *a, std::string_view cleaned, std::string_view text,
                            std::string_view label);
    std::string constantValue(std::size_t field, const CallArgument &a, std::string_view cleaned, std::string_view text,
                              std::string_view label);
    std::string rawValue(std::size_t field, const CallArgument &a, std::string_view cleaned, std::string_view text);
    std::string withGadgetsMadeInside(std::size_t field, std::string_view cleaned, std::string_view text,
                                      std::string_view prefix);
    std::string omittedValue(const Field &f, std::size_t line, std::string_view label);
    std::string reference(std::size_t field, const IdRef &ref, std::string prefix);
    std::string local(std::string_view sourceText)
    {
        return m_utf8 ? latin1FromUtf8(sourceText, m_unfit) : std::string(sourceText);
    }
    std::string shownSource(std::string_view sourceText);
    void noteUnfit(std::size_t line, std::string_view label, std::string_view value);
    void note(std::size_t line, std::string found, std::string taken)
    {
        m_notes.push_back({line, std::move(found), std::move(taken)});
    }

    const GdtPool &m_pool;
    GdtList &m_list;
    ImportNames m_names;
    std::int32_t m_card;
    std::vector<CallPlan> m_plans;
    FunctionTable m_functions;
    std::vector<std::string_view> m_unknown; ///< dialog functions no entry takes
    std::size_t m_maxArguments = 1;
    bool m_utf8 = false;
    std::vector<std::int32_t> m_unfit;                   ///< characters beyond Latin-1 in the value being read
    std::unordered_map<std::string, IdRef> m_references; ///< reference key -> VarID
    ImportReport m_report;

    // Of the statement being read.
    const std::vector<SourceCall> *m_calls = nullptr;
    std::vector<std::vector<std::size_t>> m_children; ///< gadgets made in a call's arguments
    std::vector<bool> m_consumed;
    std::vector<IdRef> m_callIds;
    std::vector<std::pair<std::size_t, std::size_t>> m_stack;
    // Of the gadget being read.
    std::vector<PendingNote> m_notes;
    std::vector<Fill> m_fills;
    std::vector<std::size_t> m_leftOut; ///< parameters to leave out of the record's template
    std::vector<std::size_t> m_argumentChildren;
};

// A gadget made in an argument of another gadget's call (a splitter's two
// gadgets) comes first, and the argument names it by its VarID: the code
// regenerated then makes each gadget once, in an order PureBasic accepts.
void SyntaxImport::addBatch(const std::vector<SourceCall> &calls, std::string_view cleaned)
{
    const std::size_t n = calls.size();
    m_calls = &calls;
    if (m_children.size() < n) {
        m_children.resize(n);
        m_callIds.resize(n); // set for an inner gadget before the call around it reads it
    }
    for (std::size_t i = 0; i < n; ++i)
        m_children[i].clear();
    m_consumed.assign(n, false);
    bool nested = false;
    for (std::size_t i = 1; i < n; ++i) {
        const SourceCall &c = calls[i];
        if (c.parent < 0 || !makesGadget(c))
            continue;
        const SourceCall &outer = calls[static_cast<std::size_t>(c.parent)];
        // A call that never closed keeps only the arguments of its own
        // line: a call on a later line is no longer inside it.
        if (!makesGadget(outer) || c.parentArgument >= outer.args.size()
            || c.cleanBegin >= outer.args[c.parentArgument].end)
            continue;
        m_consumed[i] = true;
        m_children[static_cast<std::size_t>(c.parent)].push_back(i);
        nested = true;
    }
    if (!nested) {
        for (std::size_t i = 0; i < n; ++i)
            add(i, cleaned);
        return;
    }
    // Inner gadgets before outer ones, without recursion: nesting may be as
    // deep as the source is long.
    for (std::size_t root = 0; root < n; ++root) {
        if (m_consumed[root])
            continue;
        m_stack.push_back({root, 0});
        while (!m_stack.empty()) {
            const auto [node, next] = m_stack.back();
            if (next < m_children[node].size()) {
                ++m_stack.back().second;
                m_stack.push_back({m_children[node][next], 0});
                continue;
            }
            m_stack.pop_back();
            add(node, cleaned);
        }
    }
}

void SyntaxImport::add(std::size_t index, std::string_view cleaned)
{
    const SourceCall &call = (*m_calls)[index];
    const auto at = static_cast<std::size_t>(call.function);
    if (at >= m_pool.entries.size()) {
        m_report.notes.push_back({call.line, std::string(m_unknown[at - m_pool.entries.size()]),
                                  "kein Pooleintrag f\xFC"
                                  "r diese Funktion",
                                  "ausgelassen"});
        return;
    }
    const PoolEntry &entry = m_pool.entries[at];
    const CallPlan &plan = m_plans[at];
    GadgetRecord r;
    IdSource source;
    m_notes.clear();
    m_fills.clear();
    m_leftOut.clear();
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
        const std::size_t line = a ? a->line : call.line;
        std::string label;
        if (f.kind >= P0) {
            const std::string &pname = entry.p[static_cast<std::size_t>(f.kind - P0)];
            label = pname.empty() ? "p" + std::to_string(f.kind - P0) : pname;
        }
        m_argumentChildren.clear();
        for (std::size_t child : m_children[index])
            if ((*m_calls)[child].parentArgument == i)
                m_argumentChildren.push_back(child);
        switch (f.kind) {
        case Id:
            if (!text.empty())
                readId(call, *a, text, m_consumed[index], source);
            break;
        case X: r.x = coordinate(a, text, "X"); break;
        case Y: r.y = coordinate(a, text, "Y"); break;
        case Xd: r.xd = coordinate(a, text, "XD"); break;
        case Yd: r.yd = coordinate(a, text, "YD"); break;
        case Text:
            r.text = stringValue(a, cleaned, text, "Text");
            noteUnfit(line, "Text", r.text);
            break;
        // Left out or empty, the flags regenerate as ", 0)" rather than the
        // ", )" that PureBasic refuses.
        case Flags:
            r.flags = text.empty() ? std::string("0") : local(text);
            noteUnfit(line, "Flags", r.flags);
            break;
        default: {
            const auto k = static_cast<std::size_t>(f.kind - P0);
            std::string &p = r.p[k];
            if (f.shape == Shape::String)
                p = stringValue(a, cleaned, text, label);
            else if (text.empty() && f.omitted && f.omitted->leftOut)
                m_leftOut.push_back(k);
            else if (text.empty())
                p = omittedValue(f, line, label);
            else if (f.shape == Shape::Constant)
                p = constantValue(k, *a, cleaned, text, label);
            else
                p = rawValue(k, *a, cleaned, text);
            noteUnfit(line, label, p);
            break;
        }
        }
    }
    if (call.args.size() > plan.fields.size()) {
        const CallArgument &extra = call.args[plan.fields.size()];
        const std::string_view rest = spanText(cleaned, extra.begin, call.args.back().end);
        note(extra.line, "mehr Argumente, als die Maske kennt (" + shownSource(rest) + ")", "weggelassen");
    }
    takeTypeOf(r, entry, m_card);
    for (const std::size_t k : m_leftOut) {
        if (leaveOutArgument(r.code, "[p" + std::to_string(k) + "]"))
            continue;
        r.p[k] = "0";
        note(call.line, (entry.p[k].empty() ? "p" + std::to_string(k) : entry.p[k]) + " fehlt",
             std::string(kTakenAs) + "0");
    }
    const auto record = static_cast<std::size_t>(m_list.size());
    const IdRef id = nameOf(source, entry, call.line);
    for (PendingNote &n : m_notes) {
        if (id.pending >= 0)
            m_names.fillNote(m_report.notes.size(), id.pending, n.taken.empty());
        m_report.notes.push_back({n.line, entry.name + " " + id.id, std::move(n.found),
                                  n.taken.empty() ? std::string(kTakenAs) + id.id : std::move(n.taken)});
    }
    for (const Fill &f : m_fills)
        m_names.fillParameter(record, f.field, f.offset, f.pending);
    r.varId = id.id;
    m_list.append(std::move(r));
    ++m_report.gadgets;
    if (m_consumed[index])
        m_callIds[index] = id;
}

void SyntaxImport::readId(const SourceCall &call, const CallArgument &a, std::string_view text, bool consumed,
                          IdSource &source)
{
    using Source = ImportNames::Source;
    source.kind = Source::MadeUp;
    source.candidate.clear();
    source.key.clear();
    if (equalsFolded(text, "#PB_Any") || text == "-1") {
        if (!call.assignedTo.empty()) {
            source.kind = Source::Declared;
            source.candidate.assign(call.assignedTo);
            source.key = folded("", call.assignedTo);
        } else if (!consumed) { // a gadget made inside another call is named by that call
            note(a.line, "VarID " + shownSource(text) + " ohne Zuweisung an eine Variable", {});
        }
    } else if (a.tokens == 1 && a.first == TokenKind::Constant) {
        source.kind = Source::Constant;
        source.candidate.assign(text.substr(1));
        source.key = folded("#", source.candidate);
    } else if (const auto n = plainNumber(text)) {
        source.kind = Source::Declared;
        source.key = "=" + std::to_string(*n);
    } else if (const auto v = variableName(text)) {
        source.kind = Source::Declared;
        source.candidate.assign(*v);
        source.key = folded("", *v);
    } else {
        note(a.line, "VarID ist weder Konstante, Zahl noch Variable (" + shownSource(text) + ")", {});
    }
}

IdRef SyntaxImport::nameOf(IdSource &source, const PoolEntry &entry, std::size_t line)
{
    if (source.candidate.empty())
        source.candidate = source.key.starts_with('=') ? entry.name + source.key.substr(1) : entry.name;
    std::optional<std::string> clash;
    IdRef ref =
        m_names.name(source.candidate, source.kind, static_cast<std::size_t>(m_list.size()), entry.name, line, clash);
    if (clash)
        note(line, std::move(*clash), std::string(kTakenAs) + ref.id);
    // A constant that keeps its name is found without the table: the
    // common case, and a source of 50,000 of them need not fill it.
    if (source.kind == ImportNames::Source::Constant && ref.id == source.candidate)
        source.key.clear();
    if (!source.key.empty())
        m_references.insert_or_assign(std::move(source.key), ref);
    return ref;
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
        note(a->line, std::string(label) + " ist keine Zahl (" + shownSource(text) + ")",
             std::string(kTakenAs) + numberText(v));
    return v;
}

std::string SyntaxImport::stringValue(const CallArgument *a, std::string_view cleaned, std::string_view text,
                                      std::string_view label)
{
    if (!a || a->tokens == 0)
        return {};
    std::string value;
    std::string found;
    if (a->tokens == 1 && a->first == TokenKind::String) {
        value = local(cleaned.substr(a->firstBegin + 1, a->firstEnd - a->firstBegin - 2));
    } else if (auto joined = readStringExpression(text, m_pool.settings.crSep, m_utf8)) {
        value = m_utf8 ? local(joined->text) : std::move(joined->text);
        if (joined->escapes)
            found = std::string(label) + " mit Escape-Folgen (" + shownSource(text) + ")";
    } else {
        if (a->first == TokenKind::String)
            value = local(cleaned.substr(a->firstBegin + 1, a->firstEnd - a->firstBegin - 2));
        found = std::string(label) + " ist kein String (" + shownSource(text) + ")";
    }
    // The list file keeps no blanks at the ends of a value: the gadget
    // holds from the start what the list will give back.
    std::string why;
    if (const std::string_view kept = trimBlanksTabs(value); kept.size() != value.size()) {
        if (found.empty())
            found = std::string(label) + " mit Leerzeichen am Rand (\"" + shown(value) + "\")";
        why = " (die Gadgetliste h\xE4lt keine Leerzeichen am Rand)";
        value.assign(kept);
    }
    if (!found.empty())
        note(a->line, std::move(found), std::string(kTakenAs) + "\"" + shown(value) + "\"" + why);
    return value;
}

std::string SyntaxImport::constantValue(std::size_t field, const CallArgument &a, std::string_view cleaned,
                                        std::string_view text, std::string_view label)
{
    if (m_argumentChildren.size() == 1) {
        const SourceCall &c = (*m_calls)[m_argumentChildren[0]];
        if (c.cleanBegin == static_cast<std::size_t>(text.data() - cleaned.data())
            && c.cleanEnd - c.cleanBegin == text.size())
            return reference(field, m_callIds[m_argumentChildren[0]], {});
    }
    if (m_argumentChildren.empty()) {
        if (const auto k = referenceKey(a, text))
            if (const auto hit = m_references.find(*k); hit != m_references.end())
                return reference(field, hit->second, {});
        if (a.tokens == 1 && a.first == TokenKind::Constant) {
            // PureBasic ignores the letter case; the list follows the gadget's spelling.
            const std::string *spelled = m_names.spelling(text.substr(1));
            return spelled ? *spelled : std::string(text.substr(1));
        }
    }
    const auto v = variableName(text);
    std::string value =
        m_argumentChildren.empty() ? local(v ? *v : text) : withGadgetsMadeInside(field, cleaned, text, "#");
    note(a.line, std::string(label) + " ist keine Konstante (" + shownSource(text) + ")",
         std::string(kTakenAs) + shown(value));
    return value;
}

std::string SyntaxImport::rawValue(std::size_t field, const CallArgument &a, std::string_view cleaned,
                                   std::string_view text)
{
    if (!m_argumentChildren.empty())
        return withGadgetsMadeInside(field, cleaned, text, "#");
    // A gadget named by its constant or its variable gets the constant of
    // the VarID it was imported as; numbers stay, as they need not name one.
    const bool constant = a.tokens == 1 && a.first == TokenKind::Constant;
    if (constant || variableName(text))
        if (const auto hit = m_references.find(*referenceKey(a, text)); hit != m_references.end())
            return reference(field, hit->second, "#");
    if (constant)
        if (const std::string *spelled = m_names.spelling(text.substr(1)))
            return "#" + *spelled;
    return local(text);
}

// The argument's text with each gadget made inside it replaced by its
// constant: "ButtonGadget(#PB_Any, ...)" becomes "#ButtonGadget".
std::string SyntaxImport::withGadgetsMadeInside(std::size_t field, std::string_view cleaned, std::string_view text,
                                                std::string_view prefix)
{
    const auto begin = static_cast<std::size_t>(text.data() - cleaned.data());
    const std::size_t end = begin + text.size();
    std::string out;
    std::size_t at = begin;
    for (std::size_t child : m_argumentChildren) {
        const SourceCall &c = (*m_calls)[child];
        out += local(cleaned.substr(at, c.cleanBegin - at));
        out += reference(field, m_callIds[child], std::string(prefix));
        // reference() returned the prefix alone for a pending name; its
        // offset counts from the start of the value.
        if (m_callIds[child].pending >= 0)
            m_fills.back().offset = out.size();
        // A call that never closed may reach past the argument's end.
        at = std::min(c.cleanEnd, end);
    }
    out += local(cleaned.substr(at, end - at));
    return out;
}

std::string SyntaxImport::reference(std::size_t field, const IdRef &ref, std::string prefix)
{
    if (ref.pending < 0)
        return prefix + ref.id;
    m_fills.push_back({field, prefix.size(), ref.pending});
    return prefix;
}

std::string SyntaxImport::omittedValue(const Field &f, std::size_t line, std::string_view label)
{
    if (f.omitted) {
        std::string value(f.omitted->value);
        if (!f.omitted->documented)
            note(line, std::string(label) + " fehlt", std::string(kTakenAs) + value);
        return value;
    }
    // An empty value would leave ", ," in the regenerated call, which
    // PureBasic refuses.
    if (f.shape == Shape::Constant) {
        note(line, std::string(label) + " fehlt", "leer gelassen");
        return {};
    }
    note(line, std::string(label) + " fehlt", std::string(kTakenAs) + "0");
    return "0";
}

std::string SyntaxImport::shownSource(std::string_view sourceText)
{
    if (!m_utf8)
        return shown(sourceText);
    std::vector<std::int32_t> ignored;
    return shown(latin1FromUtf8(sourceText, ignored));
}

void SyntaxImport::noteUnfit(std::size_t line, std::string_view label, std::string_view value)
{
    // A UTF-8 list keeps them as it is; a Latin-1 one changes its encoding.
    if (m_unfit.empty() || m_list.encoding() == TextEncoding::Utf8) {
        m_unfit.clear();
        return;
    }
    std::sort(m_unfit.begin(), m_unfit.end());
    m_unfit.erase(std::unique(m_unfit.begin(), m_unfit.end()), m_unfit.end());
    std::string names;
    for (std::size_t i = 0; i < m_unfit.size() && i < 5; ++i)
        names += (i ? ", " : "") + codePointName(m_unfit[i]);
    if (m_unfit.size() > 5)
        names += ", ...";
    m_unfit.clear();
    note(line, std::string(label) + " mit Zeichen, die Latin-1 nicht kennt (" + names + ")",
         std::string(kTakenAs) + "\"" + shown(value) + "\", die Gadgetliste wird als UTF-8 gespeichert");
}
} // namespace

namespace {

// The imported records from `first` on as the code nests them, read as a
// dialog of their own: every window and page on a free card of its own in
// source order, every gadget on its parent's card, the indent its depth,
// pages as large as their panel's client area. Gadgets outside any window
// stay on the card the import began with.
void giveImportedStructure(GdtList &list, std::size_t first)
{
    auto &records = list.records();
    if (first >= records.size())
        return;
    GdtList imported;
    imported.reserve(static_cast<int>(records.size() - first));
    for (std::size_t i = first; i < records.size(); ++i)
        imported.append(records[i]);
    const DialogStructure structure(imported);

    std::unordered_set<std::int32_t> used;
    for (std::size_t i = 0; i < first; ++i)
        used.insert(records[i].card);
    for (std::size_t i = 0; i < structure.size(); ++i)
        if (structure[i].parent < 0 && !structure[i].headsCard())
            used.insert(records[first].card);
    std::int32_t next = 0;
    auto freeCard = [&] {
        while (used.count(next))
            ++next;
        used.insert(next);
        return next;
    };
    for (std::size_t i = 0; i < structure.size(); ++i) {
        GadgetRecord &r = records[first + i];
        const StructureNode &node = structure[i];
        r.tab = node.depth;
        if (node.headsCard()) {
            r.card = freeCard();
            if (node.role == StructureRole::Page) {
                const CardRect area = panelPageArea(records[first + static_cast<std::size_t>(node.parent)]);
                r.xd = area.width;
                r.yd = area.height;
            }
        } else if (node.parent >= 0) {
            // A container's gadgets lie on its own card; whatever they are
            // created in comes before them and has its card already.
            r.card = records[first + static_cast<std::size_t>(node.parent)].card;
        }
    }
}

} // namespace

ImportReport importSourceSyntax(std::string_view bytes, const GdtPool &pool, GdtList &list)
{
    const std::size_t first = list.records().size();
    ImportReport report = SyntaxImport(pool, list).run(detectSourceEncoding(bytes));
    giveImportedStructure(list, first);
    return report;
}

std::string importReportMessage(const ImportReport &report, std::size_t maxNotes)
{
    std::string m =
        "Import: " + std::to_string(report.gadgets) + (report.gadgets == 1 ? " Gadget gelesen." : " Gadgets gelesen.");
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
