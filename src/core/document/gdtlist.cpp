#include "core/document/gdtlist.h"

#include <iterator>
#include <vector>

namespace tafelbau {

void GdtList::clear()
{
    m_records.clear();
    m_current = kNone;
    m_lvidCounter = 0;
    m_encoding = TextEncoding::Latin1;
}

GadgetRecord &GdtList::insertAfterCurrent(GadgetRecord record)
{
    record.lvid = takeLvid();
    const int at = m_current == kNone ? 0 : m_current + 1;
    auto &handles = m_records.handles();
    const auto it = handles.insert(std::next(handles.begin(), at), std::make_shared<GadgetRecord>(std::move(record)));
    m_current = at;
    return **it;
}

GadgetRecord &GdtList::append(GadgetRecord record)
{
    record.lvid = takeLvid();
    GadgetRecord &added = m_records.push_back(std::move(record));
    m_current = size() - 1;
    return added;
}

GadgetRecord &GdtList::appendNew()
{
    GadgetRecord &added = m_records.emplace_back();
    added.lvid = takeLvid();
    m_current = size() - 1;
    return added;
}

void GdtList::removeCurrent()
{
    if (m_current == kNone)
        return;
    auto &handles = m_records.handles();
    handles.erase(std::next(handles.begin(), m_current));
    m_current = m_current - 1; // kNone (-1) when the first record went
}

bool GdtList::findByLvid(std::int32_t lvid)
{
    for (int i = 0; i < size(); ++i) {
        if (m_records[static_cast<std::size_t>(i)].lvid == lvid) {
            m_current = i;
            return true;
        }
    }
    return false;
}

bool GdtList::findByVarId(std::string_view varId)
{
    for (int i = 0; i < size(); ++i) {
        if (m_records[static_cast<std::size_t>(i)].varId == varId) {
            m_current = i;
            return true;
        }
    }
    return false;
}

bool GdtList::varIdExists(std::string_view varId) const
{
    for (const GadgetRecord &r : m_records)
        if (r.varId == varId)
            return true;
    return false;
}

std::int32_t nextFreeCard(const GdtList &list)
{
    // With n records at most n cards are taken, so the answer lies in 0..n and
    // card numbers beyond n can be ignored: one pass instead of a rescan of
    // the list for every candidate.
    const std::size_t n = list.records().size();
    std::vector<bool> used(n + 1, false);
    for (const GadgetRecord &r : list.records())
        if (r.card >= 0 && static_cast<std::size_t>(r.card) <= n)
            used[static_cast<std::size_t>(r.card)] = true;
    std::size_t free = 0;
    while (used[free])
        ++free;
    return static_cast<std::int32_t>(free);
}

} // namespace tafelbau
