#include "core/codegen/import.h"

#include "core/codegen/uniqueids.h"
#include "core/document/atomicfile.h"
#include "core/document/gdtlist.h"
#include "core/document/latin1.h"

#include <array>
#include <limits>
#include <string>

namespace tafelbau {

namespace {

constexpr std::int32_t kNoPrefix = std::numeric_limits<std::int32_t>::max();

// Placeholder kinds of a mask; P0 to P9 follow one after the other.
enum Kind : int { Other = -1, Id = 0, X, Y, Xd, Yd, Text, Flags, P0, KindCount = P0 + 10 };

Kind kindOf(std::string_view name)
{
    static constexpr std::string_view kNames[] = {"[id]", "[x]", "[y]", "[xd]", "[yd]", "[text]", "[flags]"};
    for (int i = 0; i < P0; ++i)
        if (name == kNames[i])
            return static_cast<Kind>(i);
    if (name.size() == 4 && name[0] == '[' && name[1] == 'p' && name[2] >= '0' && name[2] <= '9' && name[3] == ']')
        return static_cast<Kind>(P0 + (name[2] - '0'));
    return Other;
}

// The sep-separated fields of a text, left to right, occurrences of sep not
// overlapping. An empty separator cannot split anything, so the whole text
// is the one field; that also keeps the field count of a mask at 1.
class FieldCursor
{
public:
    FieldCursor(std::string_view text, std::string_view sep) : m_text(text), m_sep(sep) {}

    // False, with an empty field, once the text has no more fields.
    bool next(std::string_view &field)
    {
        if (m_done) {
            field = {};
            return false;
        }
        const std::size_t hit = m_sep.empty() ? std::string_view::npos : m_text.find(m_sep, m_pos);
        if (hit == std::string_view::npos) {
            field = m_text.substr(m_pos);
            m_done = true;
        } else {
            field = m_text.substr(m_pos, hit - m_pos);
            m_pos = hit + m_sep.size();
        }
        return true;
    }

private:
    std::string_view m_text;
    std::string_view m_sep;
    std::size_t m_pos = 0;
    bool m_done = false;
};

struct Assignment
{
    std::size_t field;
    Kind kind;
};

// What one pool entry's mask asks of a matching line, worked out once per
// import instead of once per line.
struct MaskPlan
{
    std::string_view prefix;
    std::string_view sep;
    // In field order. A later field of the same kind would overwrite an
    // earlier one, so only the last is kept -- except for [id], where each
    // occurrence makes its value unique against the one before it.
    std::vector<Assignment> assignments;
};

MaskPlan planFor(const PoolEntry &entry)
{
    MaskPlan plan;
    plan.prefix = maskPrefix(entry.importcode);
    plan.sep = entry.importwerttrenn;
    if (plan.prefix.empty())
        return plan;
    // The mask rest ends at a second occurrence of the prefix, or at a line
    // break the mask itself holds: both become the same CR first.
    const std::string marked = replaceAll(entry.importcode, plan.prefix, "\r");
    const std::size_t first = marked.find('\r');
    const std::size_t second = marked.find('\r', first + 1);
    std::string rest = marked.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    for (char &c : rest)
        c = foldAscii(c);

    std::vector<Kind> kinds;
    FieldCursor names(rest, plan.sep);
    std::string_view name;
    while (names.next(name))
        kinds.push_back(kindOf(trimBlanks(name)));
    std::array<std::size_t, KindCount> last{};
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i] != Other)
            last[static_cast<std::size_t>(kinds[i])] = i;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const Kind k = kinds[i];
        if (k == Id || (k != Other && last[static_cast<std::size_t>(k)] == i))
            plan.assignments.push_back({i, k});
    }
    return plan;
}

// The line after the first occurrence of the prefix, up to a second one.
std::string_view lineRest(std::string_view line, std::string_view prefix) noexcept
{
    const std::size_t from = line.find(prefix) + prefix.size();
    const std::size_t second = line.find(prefix, from);
    return line.substr(from, second == std::string_view::npos ? std::string_view::npos : second - from);
}

class LineCleaner
{
public:
    explicit LineCleaner(const PoolSettings &settings) : m_comment(settings.codeComment), m_trim(settings.importTrim)
    {
        // Removing single bytes does not depend on their order, so one pass
        // over the line does for all of them.
        for (char c : settings.importRemove) {
            m_remove[static_cast<unsigned char>(c)] = true;
            if (c >= 'A' && c <= 'Z')
                m_remove[static_cast<unsigned char>(c - 'A' + 'a')] = true;
            else if (c >= 'a' && c <= 'z')
                m_remove[static_cast<unsigned char>(c - 'a' + 'A')] = true;
        }
    }

    std::string clean(std::string_view rest) const
    {
        if (!m_comment.empty()) {
            const std::size_t cut = rest.find(m_comment);
            if (cut != std::string_view::npos)
                rest = rest.substr(0, cut);
        }
        std::string out;
        out.reserve(rest.size());
        for (char c : rest)
            if (!m_remove[static_cast<unsigned char>(c)])
                out.push_back(c);
        // Trimming does depend on the order: ")(" and "()" differ on "(x)".
        std::size_t b = 0;
        std::size_t e = out.size();
        for (char t : m_trim) {
            while (b < e && out[b] == t)
                ++b;
            while (e > b && out[e - 1] == t)
                --e;
        }
        return out.substr(b, e - b);
    }

private:
    std::string_view m_comment;
    std::string_view m_trim;
    std::array<bool, 256> m_remove{};
};

GadgetRecord recordFor(std::string_view line, const PoolEntry &entry, const MaskPlan &plan, const LineCleaner &cleaner,
                       UniqueIds &ids, std::int32_t card)
{
    GadgetRecord r;
    const std::string rest = cleaner.clean(lineRest(line, plan.prefix));
    FieldCursor values(rest, plan.sep);
    std::size_t read = 0;
    std::string_view value;
    std::string id;
    for (const Assignment &a : plan.assignments) {
        while (read <= a.field) {
            values.next(value); // an empty value once the line has no more fields
            ++read;
        }
        const std::string_view v = trimBlanks(value);
        switch (a.kind) {
        case Id:
            if (!v.empty())
                id = ids.makeUnique(v, id);
            break;
        case X: r.x = parseWholeNumber(v); break;
        case Y: r.y = parseWholeNumber(v); break;
        case Xd: r.xd = parseWholeNumber(v); break;
        case Yd: r.yd = parseWholeNumber(v); break;
        case Text: r.text.assign(v); break;
        case Flags: r.flags = v.empty() ? std::string("0") : std::string(v); break;
        default: r.p[static_cast<std::size_t>(a.kind - P0)].assign(v); break;
        }
    }
    if (id.empty())
        id = ids.makeUnique(entry.name, id);
    ids.add(id);
    r.varId = std::move(id);
    takeTypeOf(r, entry, card);
    return r;
}

} // namespace

std::string_view maskPrefix(std::string_view importcode) noexcept
{
    return importcode.substr(0, importcode.find('['));
}

PrefixMatcher::PrefixMatcher(const std::vector<std::string_view> &prefixes, std::size_t tableLimit)
    : m_prefixes(prefixes.begin(), prefixes.end())
{
    // Bytes that occur in no prefix all behave alike: one shared class keeps
    // the table narrow.
    std::size_t states = 1;
    for (std::size_t i = 0; i < m_prefixes.size(); ++i) {
        const std::string &p = m_prefixes[i];
        if (p.empty())
            continue;
        if (m_firstUsable < 0)
            m_firstUsable = static_cast<std::int32_t>(i);
        states += p.size();
        for (char c : p) {
            std::uint16_t &cls = m_class[static_cast<unsigned char>(c)];
            if (cls == 0)
                cls = static_cast<std::uint16_t>(m_classes++);
        }
    }
    if (m_firstUsable < 0 || states > tableLimit / m_classes)
        return;

    // A trie of the prefixes, then completed breadth first into a
    // deterministic automaton (Aho-Corasick): every state knows the best
    // prefix that ends at it, its own or one of its suffixes'.
    const std::size_t width = m_classes;
    m_next.assign(states * width, -1);
    m_best.assign(states, kNoPrefix);
    std::int32_t used = 1;
    for (std::size_t i = 0; i < m_prefixes.size(); ++i) {
        std::int32_t s = 0;
        for (char c : m_prefixes[i]) {
            std::int32_t &t = m_next[static_cast<std::size_t>(s) * width + m_class[static_cast<unsigned char>(c)]];
            if (t < 0)
                t = used++;
            s = t;
        }
        if (s != 0 && m_best[static_cast<std::size_t>(s)] == kNoPrefix)
            m_best[static_cast<std::size_t>(s)] = static_cast<std::int32_t>(i);
    }
    std::vector<std::int32_t> fail(static_cast<std::size_t>(used), 0);
    std::vector<std::int32_t> queue;
    queue.reserve(static_cast<std::size_t>(used));
    for (std::size_t c = 0; c < width; ++c) {
        std::int32_t &t = m_next[c];
        if (t < 0)
            t = 0;
        else
            queue.push_back(t);
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const auto s = static_cast<std::size_t>(queue[head]);
        const auto f = static_cast<std::size_t>(fail[s]);
        m_best[s] = std::min(m_best[s], m_best[f]);
        for (std::size_t c = 0; c < width; ++c) {
            std::int32_t &t = m_next[s * width + c];
            const std::int32_t viaFail = m_next[f * width + c];
            if (t < 0) {
                t = viaFail;
            } else {
                fail[static_cast<std::size_t>(t)] = viaFail;
                queue.push_back(t);
            }
        }
    }
    m_next.resize(static_cast<std::size_t>(used) * width);
    m_best.resize(static_cast<std::size_t>(used));
}

int PrefixMatcher::firstMatch(std::string_view line) const
{
    if (m_firstUsable < 0)
        return -1;
    if (m_next.empty()) {
        for (std::size_t i = 0; i < m_prefixes.size(); ++i)
            if (!m_prefixes[i].empty() && line.find(m_prefixes[i]) != std::string_view::npos)
                return static_cast<int>(i);
        return -1;
    }
    const std::int32_t *next = m_next.data();
    const std::int32_t *bestAt = m_best.data();
    const std::size_t width = m_classes;
    std::int32_t best = kNoPrefix;
    std::size_t s = 0;
    for (char c : line) {
        s = static_cast<std::size_t>(next[s * width + m_class[static_cast<unsigned char>(c)]]);
        if (bestAt[s] < best) {
            best = bestAt[s];
            if (best == m_firstUsable)
                break;
        }
    }
    return best == kNoPrefix ? -1 : best;
}

void takeTypeOf(GadgetRecord &r, const PoolEntry &entry, std::int32_t card)
{
    r.name = entry.name;
    r.code = entry.code;
    r.pname = entry.p;
    r.dontshow = entry.dontshow;
    r.color = entry.color;
    r.xy0 = entry.xy0;
    r.card = card;
}

int importSourceText(std::string_view bytes, const GdtPool &pool, GdtList &list)
{
    const std::int32_t card = nextFreeCard(list);
    std::vector<MaskPlan> plans;
    std::vector<std::string_view> prefixes;
    plans.reserve(pool.entries.size());
    prefixes.reserve(pool.entries.size());
    for (const PoolEntry &e : pool.entries) {
        plans.push_back(planFor(e));
        prefixes.push_back(plans.back().prefix);
    }
    const PrefixMatcher matcher(prefixes);
    const LineCleaner cleaner(pool.settings);
    UniqueIds ids(list);

    int added = 0;
    const std::size_t n = bytes.size();
    std::size_t pos = 0;
    while (pos < n) {
        std::size_t end = pos;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end + ((end + 1 < n && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);
        if (line.empty())
            continue;
        const int which = matcher.firstMatch(line);
        if (which < 0)
            continue;
        const auto at = static_cast<std::size_t>(which);
        list.append(recordFor(line, pool.entries[at], plans[at], cleaner, ids, card));
        ++added;
    }
    return added;
}

Outcome importFromFile(const std::filesystem::path &source, const GdtPool &pool, GdtList &list)
{
    std::string bytes;
    if (!readWholeFile(source, bytes))
        return Outcome::failure(latin1ToUtf8("Err - konnte Datei nicht \xF6"
                                             "ffnen: ")
                                + source.string());
    importSourceText(bytes, pool, list);
    return {};
}

} // namespace tafelbau
