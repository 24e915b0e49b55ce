#pragma once

#include "core/document/gadgetrecord.h"
#include "core/document/latin1.h"
#include "core/document/recordlist.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

/// The open document: gadget records in list order, a cursor (the current
/// record, possibly none) and the lvid counter that hands out row identities.
class GdtList
{
public:
    static constexpr int kNone = -1;

    const RecordList &records() const { return m_records; }
    RecordList &records() { return m_records; }
    int size() const { return static_cast<int>(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index) { m_current = (index >= 0 && index < size()) ? index : kNone; }
    GadgetRecord *current() { return m_current == kNone ? nullptr : &m_records[static_cast<std::size_t>(m_current)]; }

    std::int32_t lvidCounter() const { return m_lvidCounter; }

    /// How the list's file stores its texts: UTF-8 once it arrived as UTF-8
    /// or was saved so (see listfile.h), Latin-1 for a new list.
    TextEncoding encoding() const { return m_encoding; }
    void setEncoding(TextEncoding encoding) { m_encoding = encoding; }

    void reserve(int count) { m_records.reserve(static_cast<std::size_t>(count)); }

    /// Empties the list, resets the lvid counter and makes it Latin-1 again,
    /// as New and Load do.
    void clear();

    /// Inserts after the current record (at the front when there is none),
    /// gives the record the next lvid and makes it current.
    GadgetRecord &insertAfterCurrent(GadgetRecord record);

    /// Appends at the end with the next lvid and makes it current.
    GadgetRecord &append(GadgetRecord record);

    /// Appends a default record with the next lvid, made current, for the
    /// caller to fill in place.
    GadgetRecord &appendNew();

    /// Removes the current record; the one before it becomes current.
    void removeCurrent();

    bool findByLvid(std::int32_t lvid);
    bool findByVarId(std::string_view varId);
    bool varIdExists(std::string_view varId) const;

    /// The next lvid, counting the counter up. Never reused in a document.
    std::int32_t takeLvid() { return ++m_lvidCounter; }

private:
    RecordList m_records;
    int m_current = kNone;
    std::int32_t m_lvidCounter = 0;
    TextEncoding m_encoding = TextEncoding::Latin1;
};

/// The smallest card number >= 0 that no record of `list` uses; negative
/// card numbers never count. Linear in the number of records.
std::int32_t nextFreeCard(const GdtList &list);

} // namespace tafelbau
