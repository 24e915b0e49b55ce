#include "core/codegen/codemodel.h"

#include "core/codegen/codefile.h"

#include <algorithm>
#include <string_view>

namespace tafelbau {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

int countLines(std::string_view piece)
{
    int n = 0;
    for (std::size_t at = piece.find(kLineEnd); at != std::string_view::npos; at = piece.find(kLineEnd, at + 2))
        ++n;
    return n;
}

// Every piece ends with a line end, so splitting pieces one by one cuts the
// text where splitting it whole would.
template<typename Line>
void forEachLine(std::string_view piece, Line &&line)
{
    std::size_t from = 0;
    for (std::size_t at = piece.find(kLineEnd); at != std::string_view::npos; at = piece.find(kLineEnd, from)) {
        line(piece.substr(from, at - from));
        from = at + 2;
    }
}

void appendLines(std::string_view piece, std::vector<std::string> &out)
{
    forEachLine(piece, [&](std::string_view l) { out.emplace_back(l); });
}

std::vector<std::string_view> linesOf(std::string_view piece)
{
    std::vector<std::string_view> lines;
    forEachLine(piece, [&](std::string_view l) { lines.push_back(l); });
    return lines;
}

// Joins an edit to the one before when it starts where that one's new
// lines end: a run of changed records becomes one edit of the view.
void push(std::vector<CodeLineEdit> &edits, CodeLineEdit edit)
{
    if (edit.removed == 0 && edit.lines.empty())
        return;
    if (!edits.empty()) {
        CodeLineEdit &last = edits.back();
        if (last.first + static_cast<int>(last.lines.size()) == edit.first) {
            last.removed += edit.removed;
            last.lines.insert(last.lines.end(), std::make_move_iterator(edit.lines.begin()),
                              std::make_move_iterator(edit.lines.end()));
            return;
        }
    }
    edits.push_back(std::move(edit));
}

// Only the lines that differ: a key move changes one line of a block, and
// the view keeps the others (and their highlighting) untouched.
void pushReplacement(std::vector<CodeLineEdit> &edits, int line, std::string_view before, std::string_view after)
{
    if (before == after)
        return;
    const auto a = linesOf(before);
    const auto b = linesOf(after);
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix
           && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    CodeLineEdit edit;
    edit.first = line + static_cast<int>(prefix);
    edit.removed = static_cast<int>(a.size() - prefix - suffix);
    edit.lines.assign(b.begin() + static_cast<std::ptrdiff_t>(prefix),
                      b.end() - static_cast<std::ptrdiff_t>(suffix));
    push(edits, std::move(edit));
}

// The records that stay where they are: a longest run, in new order, of
// records whose old positions rise. The others were inserted or moved.
std::vector<char> keptInPlace(const std::vector<int> &newToOld)
{
    const std::size_t n = newToOld.size();
    std::vector<char> kept(n, 0);
    std::vector<int> tails; // new index ending the best run of each length
    std::vector<int> before(n, -1);
    for (std::size_t j = 0; j < n; ++j) {
        const int old = newToOld[j];
        if (old < 0)
            continue;
        const auto pos =
            std::lower_bound(tails.begin(), tails.end(), old, [&](int t, int v) { return newToOld[t] < v; });
        before[j] = pos == tails.begin() ? -1 : *(pos - 1);
        if (pos == tails.end())
            tails.push_back(static_cast<int>(j));
        else
            *pos = static_cast<int>(j);
    }
    for (int j = tails.empty() ? -1 : tails.back(); j >= 0; j = before[static_cast<std::size_t>(j)])
        kept[static_cast<std::size_t>(j)] = 1;
    return kept;
}

} // namespace

bool CodeModel::Inputs::matches(const GadgetRecord &r) const
{
    return x == r.x && y == r.y && xd == r.xd && yd == r.yd && tab == r.tab && dontshow == r.dontshow
        && varId == r.varId && code == r.code && text == r.text && flags == r.flags && p == r.p;
}

void CodeModel::Inputs::assign(const GadgetRecord &r)
{
    varId = r.varId, code = r.code, text = r.text, flags = r.flags, p = r.p;
    x = r.x, y = r.y, xd = r.xd, yd = r.yd, tab = r.tab, dontshow = r.dontshow;
}

void CodeModel::makePieces(Entry &entry, const GadgetRecord &record)
{
    entry.inputs.assign(record);
    entry.enumeration.clear();
    appendEnumerationLine(entry.enumeration, record);
    entry.block.clear();
    appendCodeBlock(entry.block, record);
    entry.enumerationLines = countLines(entry.enumeration);
    entry.blockLines = countLines(entry.block);
}

void CodeModel::reset()
{
    *this = CodeModel();
}

void CodeModel::build(const GdtList &list, const PoolSettings &settings, std::time_t when)
{
    m_head.clear();
    appendCodeFileHead(m_head, settings, when);
    m_headLines = countLines(m_head);
    m_entries.clear();
    m_entries.reserve(list.records().size());
    for (const GadgetRecord &r : list.records()) {
        auto e = std::make_unique<Entry>();
        e->lvid = r.lvid;
        makePieces(*e, r);
        m_entries.push_back(std::move(e));
    }
    recount();
    m_built = true;
}

void CodeModel::recount()
{
    const std::size_t n = m_entries.size();
    m_enumerationStart.resize(n + 1);
    m_blockStart.resize(n + 1);
    int enumerations = 0;
    int blocks = 0;
    for (std::size_t i = 0; i < n; ++i) {
        m_enumerationStart[i] = enumerations;
        m_blockStart[i] = blocks;
        enumerations += m_entries[i]->enumerationLines;
        blocks += m_entries[i]->blockLines;
    }
    m_enumerationStart[n] = enumerations;
    m_blockStart[n] = blocks;
}

std::vector<CodeLineEdit> CodeModel::updateHead(const PoolSettings &settings, std::time_t when)
{
    std::vector<CodeLineEdit> edits;
    if (!m_built)
        return edits;
    std::string head;
    appendCodeFileHead(head, settings, when);
    if (head != m_head) {
        pushReplacement(edits, 0, m_head, head);
        m_head.swap(head);
        m_headLines = countLines(m_head);
    }
    return edits;
}

std::vector<CodeLineEdit> CodeModel::update(const GdtList &list, const PoolSettings &settings, std::time_t when)
{
    if (!m_built) {
        build(list, settings, when);
        m_index.clear();
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_index.emplace(m_entries[i]->lvid, static_cast<int>(i));
        CodeLineEdit all;
        all.lines.reserve(static_cast<std::size_t>(lineCount()));
        appendLines(text(), all.lines);
        std::vector<CodeLineEdit> edits;
        push(edits, std::move(all));
        return edits;
    }

    std::vector<CodeLineEdit> edits = updateHead(settings, when);
    const auto &records = list.records();
    const std::size_t n = records.size();
    const std::size_t oldCount = m_entries.size();

    // Which old entry each record continues; most commands keep the order,
    // and then no lookup is needed.
    std::vector<int> newToOld(n, -1);
    bool sameOrder = n == oldCount;
    for (std::size_t j = 0; sameOrder && j < n; ++j) {
        sameOrder = records[j].lvid == m_entries[j]->lvid;
        newToOld[j] = static_cast<int>(j);
    }
    std::vector<char> kept;
    if (sameOrder) {
        kept.assign(n, 1);
    } else {
        // A record whose lvid came up before (it should not) starts afresh.
        std::vector<char> taken(oldCount, 0);
        for (std::size_t j = 0; j < n; ++j) {
            const auto it = m_index.find(records[j].lvid);
            newToOld[j] = -1;
            if (it != m_index.end() && !taken[static_cast<std::size_t>(it->second)]) {
                newToOld[j] = it->second;
                taken[static_cast<std::size_t>(it->second)] = 1;
            }
        }
        kept = keptInPlace(newToOld);
    }

    std::vector<std::unique_ptr<Entry>> next;
    next.reserve(n);
    std::vector<Replaced> replaced;
    for (std::size_t j = 0; j < n; ++j) {
        const GadgetRecord &r = records[j];
        std::unique_ptr<Entry> e;
        if (newToOld[j] >= 0) {
            e = std::move(m_entries[static_cast<std::size_t>(newToOld[j])]);
            if (!e->inputs.matches(r)) {
                if (kept[j])
                    replaced.push_back({j, std::move(e->enumeration), std::move(e->block)});
                makePieces(*e, r);
            }
        } else {
            e = std::make_unique<Entry>();
            e->lvid = r.lvid;
            makePieces(*e, r);
        }
        next.push_back(std::move(e));
    }

    // One section at a time, top to bottom: the old records between two kept
    // ones go, the new records between them come in their place, and a kept
    // record that was made again is replaced where it stands.
    auto walk = [&](int line, bool blocks, const std::vector<int> &oldStart) {
        std::vector<std::string> pending;
        std::size_t oldPos = 0;
        std::size_t nextReplaced = 0;
        auto flush = [&](std::size_t upTo) {
            const int removed = oldStart[upTo] - oldStart[oldPos];
            if (removed > 0 || !pending.empty()) {
                const int added = static_cast<int>(pending.size());
                push(edits, {line, removed, std::move(pending)});
                pending.clear();
                line += added;
            }
        };
        for (std::size_t j = 0; j < n; ++j) {
            const Entry &e = *next[j];
            const std::string &piece = blocks ? e.block : e.enumeration;
            if (!kept[j]) {
                appendLines(piece, pending);
                continue;
            }
            const auto old = static_cast<std::size_t>(newToOld[j]);
            flush(old);
            oldPos = old + 1;
            if (nextReplaced < replaced.size() && replaced[nextReplaced].index == j) {
                const Replaced &was = replaced[nextReplaced++];
                pushReplacement(edits, line, blocks ? was.block : was.enumeration, piece);
            }
            line += blocks ? e.blockLines : e.enumerationLines;
        }
        flush(oldCount);
        return line;
    };
    const int afterEnumeration = walk(enumerationStart(), false, m_enumerationStart);
    walk(afterEnumeration + 3, true, m_blockStart);

    m_entries = std::move(next);
    recount();
    if (!sameOrder) {
        m_index.clear();
        m_index.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            m_index.emplace(m_entries[i]->lvid, static_cast<int>(i));
    }
    return edits;
}

std::string CodeModel::text() const
{
    std::size_t size = m_head.size() + kEnumerationEnd.size();
    for (const auto &e : m_entries)
        size += e->enumeration.size() + e->block.size();
    std::string out;
    out.reserve(size);
    out.append(m_head);
    for (const auto &e : m_entries)
        out.append(e->enumeration);
    out.append(kEnumerationEnd);
    for (const auto &e : m_entries)
        out.append(e->block);
    return out;
}

int CodeModel::lineCount() const
{
    return m_built ? blocksStart() + m_blockStart.back() : 0;
}

LineSpan CodeModel::blockLines(std::int32_t lvid) const
{
    const auto it = m_index.find(lvid);
    if (it == m_index.end())
        return {};
    const auto i = static_cast<std::size_t>(it->second);
    return {blocksStart() + m_blockStart[i], m_entries[i]->blockLines};
}

LineSpan CodeModel::enumerationLines(std::int32_t lvid) const
{
    const auto it = m_index.find(lvid);
    if (it == m_index.end())
        return {};
    const auto i = static_cast<std::size_t>(it->second);
    return {enumerationStart() + m_enumerationStart[i], m_entries[i]->enumerationLines};
}

std::vector<LineSpan> CodeModel::selectedLines(const GdtList &list) const
{
    std::vector<LineSpan> spans;
    auto add = [&spans](LineSpan s) {
        if (s.count == 0)
            return;
        if (!spans.empty() && spans.back().first + spans.back().count == s.first)
            spans.back().count += s.count;
        else
            spans.push_back(s);
    };
    // Both sections follow list order, the constants above the blocks.
    for (const bool blocks : {false, true})
        for (const GadgetRecord &r : list.records())
            if (r.selected)
                add(blocks ? blockLines(r.lvid) : enumerationLines(r.lvid));
    return spans;
}

std::optional<std::int32_t> CodeModel::recordAtLine(int line) const
{
    // Records without a piece in a section share its start with the record
    // after them, so the last start at or before the line is the holder.
    auto holder = [&](const std::vector<int> &start, int offset) -> std::optional<std::int32_t> {
        if (line < offset || line >= offset + start.back())
            return std::nullopt;
        const auto it = std::upper_bound(start.begin(), start.end() - 1, line - offset);
        return m_entries[static_cast<std::size_t>(it - start.begin() - 1)]->lvid;
    };
    if (!m_built)
        return std::nullopt;
    if (auto lvid = holder(m_enumerationStart, enumerationStart()))
        return lvid;
    return holder(m_blockStart, blocksStart());
}

} // namespace tafelbau
