#include "core/commands/addgadget.h"

#include "core/codegen/import.h"
#include "core/commands/selection.h"
#include "core/commands/structureedit.h"
#include "core/pool/flaglines.h"

#include <vector>

namespace tafelbau {

std::string freshVarId(const GdtList &list, std::string_view base)
{
    // n records can hold at most n of the numbers 1..n+1, so one of those is
    // free: only numbers up to there need marking.
    const std::size_t limit = list.records().size() + 1;
    std::vector<bool> used(limit + 1, false);
    for (const GadgetRecord &r : list.records()) {
        const std::string_view id = r.varId;
        if (id.size() <= base.size() || id.substr(0, base.size()) != base)
            continue;
        const std::string_view digits = id.substr(base.size());
        // A candidate is written without leading zeros; more than 19 digits
        // could not be below the limit anyway.
        if (digits[0] == '0' || digits.size() > 19)
            continue;
        std::uint64_t n = 0;
        bool allDigits = true;
        for (char c : digits) {
            if (c < '0' || c > '9') {
                allDigits = false;
                break;
            }
            n = n * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (allDigits && n <= limit)
            used[n] = true;
    }
    std::size_t n = 1;
    while (used[n])
        ++n;
    std::string id(base);
    id += std::to_string(n);
    return id;
}

GadgetRecord recordFromPool(const GdtList &list, const PoolEntry &entry)
{
    GadgetRecord r;
    takeTypeOf(r, entry, r.card);
    r.varId = freshVarId(list, entry.name);
    r.text = r.varId;
    r.xd = entry.xd;
    r.yd = entry.yd;
    r.flags = defaultFlags(entry);
    return r;
}

EditOutcome addGadgetFromPool(GdtList &list, const GdtPool &pool, std::string_view chosenName,
                              NewGadgetPosition &position)
{
    EditOutcome out;
    if (chosenName.empty())
        return out;
    const PoolEntry *entry = pool.find(chosenName);
    if (!entry)
        return out;

    GadgetRecord r = recordFromPool(list, *entry);
    const int row = currentRowGadget(list);
    if (row != GdtList::kNone) {
        r.tab = list.records()[static_cast<std::size_t>(row)].tab;
        r.card = list.records()[static_cast<std::size_t>(row)].card;
    } else {
        // Without a selected row the window has left the cursor on the last
        // record, so the new one is appended.
        list.setCurrentIndex(list.size() - 1);
    }
    if (position.x == 0)
        position.x = entry->x;
    if (position.y == 0)
        position.y = entry->y;
    r.x = position.x;
    r.y = position.y;

    clearSelection(list);
    r.selected = true;
    list.insertAfterCurrent(std::move(r));
    giveSelectedTheirParentsCard(list);

    out.mark = ChangeMark::Set;
    out.views.rebuildList = true;
    out.current = list.currentIndex();
    return out;
}

} // namespace tafelbau
