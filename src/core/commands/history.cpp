#include "core/commands/history.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <variant>

namespace tafelbau {

namespace {

using Handle = RecordList::Handle;
using Value = std::variant<std::int64_t, std::string>;

// The fields a command may change, by number: name, varId, code, text,
// flags, p0-p9, pname0-pname9 (texts), then x, y, xy0, xd, yd, tab, card,
// dontshow, color (numbers). `selected` and `lvid` are not content.
constexpr int kTextFields = 25;
constexpr int kFieldCount = kTextFields + 9;

std::string *textField(GadgetRecord &r, int f)
{
    switch (f) {
    case 0: return &r.name;
    case 1: return &r.varId;
    case 2: return &r.code;
    case 3: return &r.text;
    case 4: return &r.flags;
    default: return f < 15 ? &r.p[static_cast<std::size_t>(f - 5)] : &r.pname[static_cast<std::size_t>(f - 15)];
    }
}

const std::string &textField(const GadgetRecord &r, int f)
{
    return *textField(const_cast<GadgetRecord &>(r), f);
}

std::int64_t numberField(const GadgetRecord &r, int f)
{
    switch (f - kTextFields) {
    case 0: return r.x;
    case 1: return r.y;
    case 2: return r.xy0;
    case 3: return r.xd;
    case 4: return r.yd;
    case 5: return r.tab;
    case 6: return r.card;
    case 7: return r.dontshow;
    default: return r.color;
    }
}

void setNumberField(GadgetRecord &r, int f, std::int64_t v)
{
    switch (f - kTextFields) {
    case 0: r.x = static_cast<std::int32_t>(v); break;
    case 1: r.y = static_cast<std::int32_t>(v); break;
    case 2: r.xy0 = static_cast<std::int8_t>(v); break;
    case 3: r.xd = static_cast<std::int32_t>(v); break;
    case 4: r.yd = static_cast<std::int32_t>(v); break;
    case 5: r.tab = static_cast<std::int32_t>(v); break;
    case 6: r.card = static_cast<std::int32_t>(v); break;
    case 7: r.dontshow = static_cast<std::int8_t>(v); break;
    default: r.color = static_cast<std::uint32_t>(v); break;
    }
}

Value fieldValue(const GadgetRecord &r, int f)
{
    if (f < kTextFields)
        return textField(r, f);
    return numberField(r, f);
}

void setField(GadgetRecord &r, int f, const Value &v)
{
    if (f < kTextFields)
        *textField(r, f) = std::get<std::string>(v);
    else
        setNumberField(r, f, std::get<std::int64_t>(v));
}

bool sameField(const GadgetRecord &a, const GadgetRecord &b, int f)
{
    return f < kTextFields ? textField(a, f) == textField(b, f) : numberField(a, f) == numberField(b, f);
}

std::size_t bytesOf(const Value &v)
{
    const auto *s = std::get_if<std::string>(&v);
    return sizeof(Value) + (s ? s->capacity() : 0);
}

std::size_t bytesOf(const GadgetRecord &r)
{
    std::size_t n = sizeof(GadgetRecord);
    for (int f = 0; f < kTextFields; ++f)
        n += textField(r, f).capacity();
    return n;
}

/// Positions in `seq` (values -1 are skipped) that form a longest strictly
/// increasing subsequence: the records that kept their order. O(n log n).
std::vector<char> longestIncreasing(const std::vector<std::int64_t> &seq)
{
    std::vector<std::size_t> tails;       // index into seq of the smallest tail per length
    std::vector<std::int64_t> tailValues; // seq values of those tails
    std::vector<std::int64_t> parent(seq.size(), -1);
    for (std::size_t i = 0; i < seq.size(); ++i) {
        if (seq[i] < 0)
            continue;
        const auto pos = std::lower_bound(tailValues.begin(), tailValues.end(), seq[i]) - tailValues.begin();
        if (pos > 0)
            parent[i] = static_cast<std::int64_t>(tails[static_cast<std::size_t>(pos - 1)]);
        if (static_cast<std::size_t>(pos) == tails.size()) {
            tails.push_back(i);
            tailValues.push_back(seq[i]);
        } else {
            tails[static_cast<std::size_t>(pos)] = i;
            tailValues[static_cast<std::size_t>(pos)] = seq[i];
        }
    }
    std::vector<char> kept(seq.size(), 0);
    for (std::int64_t i = tails.empty() ? -1 : static_cast<std::int64_t>(tails.back()); i >= 0;
         i = parent[static_cast<std::size_t>(i)])
        kept[static_cast<std::size_t>(i)] = 1;
    return kept;
}

} // namespace

struct History::Step
{
    struct FieldChange
    {
        int field;
        Value before;
        Value after;
    };
    struct RecordChange
    {
        std::int32_t lvid;
        std::size_t beforeIndex;
        std::size_t afterIndex;
        std::vector<FieldChange> fields;
    };
    struct Place
    {
        std::size_t index;
        std::int32_t lvid;
    };

    std::string label;
    std::string kind;
    std::vector<RecordChange> changes;
    std::vector<Place> removed;  ///< before-list places of records gone or moved, ascending
    std::vector<Place> inserted; ///< after-list places of records new or moved, ascending
    /// Records outside the list on the side the step stands at: those it
    /// removed (after a commit or redo) or added (after an undo).
    std::unordered_map<std::int32_t, Handle> parked;
    /// Places of the selected records on either side.
    std::vector<std::size_t> selectedBefore, selectedAfter;
    int cursorBefore = GdtList::kNone, cursorAfter = GdtList::kNone;
    std::int32_t shownBefore = 0, shownAfter = 0;
    std::size_t bytes = 0;

    bool reorders() const { return !removed.empty() || !inserted.empty(); }

    void countBytes()
    {
        bytes = sizeof(Step) + label.capacity() + kind.capacity()
            + (selectedBefore.capacity() + selectedAfter.capacity()) * sizeof(std::size_t)
            + (removed.capacity() + inserted.capacity()) * sizeof(Place);
        for (const RecordChange &c : changes) {
            bytes += sizeof(RecordChange);
            for (const FieldChange &f : c.fields)
                bytes += sizeof(FieldChange) + bytesOf(f.before) + bytesOf(f.after);
        }
        for (const auto &[lvid, handle] : parked)
            bytes += 32 + bytesOf(*handle);
    }
};

struct History::Pending
{
    std::vector<Handle> before; ///< every handle, so removed records stay alive
    std::unordered_map<std::int32_t, std::pair<std::size_t, GadgetRecord>> candidates; ///< lvid -> index, copy
    std::vector<std::size_t> selectedBefore;
    int cursorBefore = GdtList::kNone;
    std::int32_t shownBefore = 0;
    std::string label;
    std::string kind;
    Clock::time_point when;
};

History::History() = default;
History::~History() = default;
History::History(History &&) noexcept = default;
History &History::operator=(History &&) noexcept = default;

void History::setLimits(std::size_t steps, std::size_t bytes)
{
    m_maxSteps = std::max<std::size_t>(steps, 1);
    m_maxBytes = bytes;
    while (m_steps.size() > 1 && (m_steps.size() > m_maxSteps || m_bytes > m_maxBytes))
        dropOldest();
}

void History::begin(const GdtList &list, std::int32_t shownCard, std::string label, std::string mergeKind,
                    Clock::time_point now)
{
    auto p = std::make_unique<Pending>();
    const auto &handles = list.records().handles();
    p->before = handles;
    auto take = [&](std::size_t i) {
        if (i < handles.size())
            p->candidates.try_emplace(handles[i]->lvid, i, *handles[i]);
    };
    for (std::size_t i = 0; i < handles.size(); ++i) {
        if (handles[i]->selected) {
            p->selectedBefore.push_back(i);
            take(i);
        }
    }
    p->cursorBefore = list.currentIndex();
    if (list.currentIndex() != GdtList::kNone)
        take(static_cast<std::size_t>(list.currentIndex()));
    if (!handles.empty())
        take(handles.size() - 1);
    p->shownBefore = shownCard;
    p->label = std::move(label);
    p->kind = std::move(mergeKind);
    p->when = now;
    m_pending = std::move(p);
}

void History::track(const GdtList &list, std::size_t index)
{
    const auto &handles = list.records().handles();
    if (m_pending && index < handles.size())
        m_pending->candidates.try_emplace(handles[index]->lvid, index, *handles[index]);
}

void History::cancel()
{
    m_pending.reset();
}

bool History::rollback(GdtList &list)
{
    if (!m_pending)
        return false;
    std::unique_ptr<Pending> p = std::move(m_pending);
    auto &handles = list.records().handles();
    if (handles.size() != p->before.size() || !std::equal(handles.begin(), handles.end(), p->before.begin()))
        return false;
    for (const Handle &h : handles)
        h->selected = false;
    for (auto &[lvid, place] : p->candidates)
        *handles[place.first] = std::move(place.second);
    for (std::size_t at : p->selectedBefore)
        handles[at]->selected = true;
    list.setCurrentIndex(p->cursorBefore);
    return true;
}

bool History::commit(const GdtList &list, std::int32_t shownCard)
{
    if (!m_pending)
        return false;
    std::unique_ptr<Pending> p = std::move(m_pending);
    const auto &after = list.records().handles();
    auto step = std::make_unique<Step>();

    // Order: the records that kept their relative order stay; every other one
    // is taken out where it was and put in where it is.
    const bool sameOrder =
        after.size() == p->before.size() && std::equal(after.begin(), after.end(), p->before.begin());
    std::unordered_map<std::int32_t, std::size_t> afterIndexOf;
    if (!sameOrder) {
        std::unordered_map<std::int32_t, std::size_t> beforeIndexOf;
        beforeIndexOf.reserve(p->before.size());
        for (std::size_t i = 0; i < p->before.size(); ++i)
            beforeIndexOf.emplace(p->before[i]->lvid, i);
        std::vector<std::int64_t> seq(after.size(), -1);
        afterIndexOf.reserve(after.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            afterIndexOf.emplace(after[i]->lvid, i);
            if (const auto it = beforeIndexOf.find(after[i]->lvid); it != beforeIndexOf.end())
                seq[i] = static_cast<std::int64_t>(it->second);
        }
        const std::vector<char> keptAfter = longestIncreasing(seq);
        std::vector<char> keptBefore(p->before.size(), 0);
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (keptAfter[i])
                keptBefore[static_cast<std::size_t>(seq[i])] = 1;
            else
                step->inserted.push_back({i, after[i]->lvid});
        }
        for (std::size_t i = 0; i < p->before.size(); ++i) {
            if (keptBefore[i])
                continue;
            step->removed.push_back({i, p->before[i]->lvid});
            if (!afterIndexOf.count(p->before[i]->lvid))
                step->parked.emplace(p->before[i]->lvid, p->before[i]);
        }
    }

    // Content: the fields that differ in the records the command could have
    // changed in place.
    if (!p->candidates.empty()) {
        if (sameOrder) {
            for (const auto &[lvid, place] : p->candidates)
                afterIndexOf.emplace(lvid, place.first);
        }
        for (auto &[lvid, place] : p->candidates) {
            const auto it = afterIndexOf.find(lvid);
            if (it == afterIndexOf.end())
                continue;
            const GadgetRecord &now = *after[it->second];
            Step::RecordChange change{lvid, place.first, it->second, {}};
            for (int f = 0; f < kFieldCount; ++f)
                if (!sameField(place.second, now, f))
                    change.fields.push_back({f, fieldValue(place.second, f), fieldValue(now, f)});
            if (!change.fields.empty())
                step->changes.push_back(std::move(change));
        }
    }

    m_touched.clear();
    if (step->changes.empty() && !step->reorders())
        return false;

    std::sort(step->changes.begin(), step->changes.end(),
              [](const Step::RecordChange &a, const Step::RecordChange &b) { return a.afterIndex < b.afterIndex; });
    for (const auto &c : step->changes)
        m_touched.push_back(c.lvid);
    for (const auto &place : step->removed)
        m_touched.push_back(place.lvid);
    for (const auto &place : step->inserted)
        m_touched.push_back(place.lvid);

    step->label = std::move(p->label);
    step->kind = std::move(p->kind);
    step->selectedBefore = std::move(p->selectedBefore);
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i]->selected)
            step->selectedAfter.push_back(i);
    step->cursorBefore = p->cursorBefore;
    step->cursorAfter = list.currentIndex();
    step->shownBefore = p->shownBefore;
    step->shownAfter = shownCard;
    step->countBytes();

    const bool mergeable = !step->kind.empty() && step->kind == m_lastKind && p->when - m_lastBegin < kMergeWindow;
    m_lastKind = step->kind;
    m_lastBegin = p->when;
    if (mergeable && mergeIntoLast(*step))
        return true;
    push(std::move(step));
    return true;
}

bool History::mergeIntoLast(Step &step)
{
    // Only the top of the history, not across a save, and only in-place
    // changes of the same selection.
    if (m_position == 0 || m_position != m_steps.size() || isAtSavedState())
        return false;
    Step &last = *m_steps.back();
    if (last.reorders() || step.reorders() || last.selectedAfter != step.selectedBefore
        || last.selectedAfter != step.selectedAfter)
        return false;
    std::unordered_map<std::int32_t, std::size_t> index;
    for (std::size_t i = 0; i < last.changes.size(); ++i)
        index.emplace(last.changes[i].lvid, i);
    for (Step::RecordChange &c : step.changes) {
        const auto it = index.find(c.lvid);
        if (it == index.end()) {
            last.changes.push_back(std::move(c));
            continue;
        }
        auto &fields = last.changes[it->second].fields;
        for (Step::FieldChange &f : c.fields) {
            const auto same = std::find_if(fields.begin(), fields.end(),
                                           [&](const Step::FieldChange &g) { return g.field == f.field; });
            if (same == fields.end())
                fields.push_back(std::move(f));
            else
                same->after = std::move(f.after);
        }
    }
    // A move that came back where it started changes nothing.
    for (auto &c : last.changes)
        std::erase_if(c.fields, [](const Step::FieldChange &f) { return f.before == f.after; });
    std::erase_if(last.changes, [](const Step::RecordChange &c) { return c.fields.empty(); });
    std::sort(last.changes.begin(), last.changes.end(),
              [](const Step::RecordChange &a, const Step::RecordChange &b) { return a.afterIndex < b.afterIndex; });
    last.shownAfter = step.shownAfter;
    last.cursorAfter = step.cursorAfter;
    m_bytes -= last.bytes;
    last.countBytes();
    m_bytes += last.bytes;
    if (last.changes.empty()) {
        m_bytes -= last.bytes;
        m_steps.pop_back();
        --m_position;
    }
    return true;
}

void History::push(std::unique_ptr<Step> step)
{
    // A new step ends the steps that were undone: the saved state among
    // them can no longer be reached.
    while (m_steps.size() > m_position) {
        m_bytes -= m_steps.back()->bytes;
        m_steps.pop_back();
    }
    if (m_saved && *m_saved > m_position)
        m_saved.reset();
    m_bytes += step->bytes;
    m_steps.push_back(std::move(step));
    ++m_position;
    while (m_steps.size() > 1 && (m_steps.size() > m_maxSteps || m_bytes > m_maxBytes))
        dropOldest();
}

void History::dropOldest()
{
    m_bytes -= m_steps.front()->bytes;
    m_steps.erase(m_steps.begin());
    if (m_position > 0)
        --m_position;
    if (m_saved) {
        if (*m_saved == 0)
            m_saved.reset();
        else
            --*m_saved;
    }
}

const std::string &History::undoLabel() const
{
    static const std::string none;
    return canUndo() ? m_steps[m_position - 1]->label : none;
}

const std::string &History::redoLabel() const
{
    static const std::string none;
    return canRedo() ? m_steps[m_position]->label : none;
}

std::optional<std::int32_t> History::undo(GdtList &list)
{
    m_pending.reset();
    if (!canUndo())
        return std::nullopt;
    m_lastKind.clear();
    Step &step = *m_steps[--m_position];
    apply(list, step, false);
    return step.shownBefore;
}

std::optional<std::int32_t> History::redo(GdtList &list)
{
    m_pending.reset();
    if (!canRedo())
        return std::nullopt;
    m_lastKind.clear();
    Step &step = *m_steps[m_position++];
    apply(list, step, true);
    return step.shownAfter;
}

void History::apply(GdtList &list, Step &step, bool forward)
{
    auto &handles = list.records().handles();
    m_touched.clear();

    // Fields first, where the records stand now.
    for (const Step::RecordChange &c : step.changes) {
        const std::size_t at = forward ? c.beforeIndex : c.afterIndex;
        if (at >= handles.size() || handles[at]->lvid != c.lvid)
            continue; // cannot happen while every change goes through the history
        for (const Step::FieldChange &f : c.fields)
            setField(*handles[at], f.field, forward ? f.after : f.before);
        m_touched.push_back(c.lvid);
    }

    // Then the order: out of the places on this side, into those on the other.
    const auto &out = forward ? step.removed : step.inserted;
    const auto &in = forward ? step.inserted : step.removed;
    if (!out.empty() || !in.empty()) {
        std::vector<Handle> kept;
        kept.reserve(handles.size() - std::min(handles.size(), out.size()));
        std::size_t o = 0;
        for (std::size_t i = 0; i < handles.size(); ++i) {
            if (o < out.size() && out[o].index == i) {
                step.parked[handles[i]->lvid] = std::move(handles[i]);
                ++o;
            } else {
                kept.push_back(std::move(handles[i]));
            }
        }
        std::vector<Handle> result;
        result.reserve(kept.size() + in.size());
        std::size_t k = 0;
        std::size_t n = 0;
        while (k < kept.size() || n < in.size()) {
            if (n < in.size() && in[n].index == result.size()) {
                auto it = step.parked.find(in[n].lvid);
                if (it != step.parked.end()) {
                    result.push_back(std::move(it->second));
                    step.parked.erase(it);
                }
                ++n;
            } else if (k < kept.size()) {
                result.push_back(std::move(kept[k++]));
            } else {
                ++n; // a place past the end: cannot happen, see above
            }
        }
        handles = std::move(result);
        for (const auto &place : out)
            m_touched.push_back(place.lvid);
        for (const auto &place : in)
            m_touched.push_back(place.lvid);
    }

    // Selection and cursor as they were on that side. Clicks since may have
    // selected others: every record is looked at, but only to clear it.
    for (const Handle &h : handles)
        h->selected = false;
    for (std::size_t at : forward ? step.selectedAfter : step.selectedBefore)
        if (at < handles.size())
            handles[at]->selected = true;
    list.setCurrentIndex(forward ? step.cursorAfter : step.cursorBefore);
    m_bytes -= step.bytes;
    step.countBytes();
    m_bytes += step.bytes;
}

void History::clear()
{
    m_pending.reset();
    m_steps.clear();
    m_position = 0;
    m_saved = 0;
    m_bytes = 0;
    m_touched.clear();
    m_lastKind.clear();
}

void History::markSaved()
{
    m_saved = m_position;
}

void History::markUnsaved()
{
    m_saved.reset();
}

} // namespace tafelbau
