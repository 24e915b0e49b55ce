#include "core/windows/flagitems.h"

#include "core/commands/selection.h"
#include "core/document/latin1.h"

namespace tafelbau {

namespace {

// The field between the first and the second `sep`, or to the end without
// a second; empty without any.
std::string_view secondField(std::string_view s, char sep) noexcept
{
    const std::size_t first = s.find(sep);
    if (first == std::string_view::npos)
        return {};
    s.remove_prefix(first + 1);
    return s.substr(0, s.find(sep));
}

FlagItem itemOf(std::string_view line, std::string_view recordFlags)
{
    const std::string_view rest = trimBlanks(secondField(trimBlanks(line), ':'));
    FlagItem item;
    item.name.assign(trimBlanks(rest.substr(0, rest.find('='))));
    item.value.assign(trimBlanks(secondField(rest, '=')));
    item.on = !item.value.empty() && recordFlags.find(item.value) != std::string_view::npos;
    return item;
}

} // namespace

std::vector<FlagItem> flagItems(std::string_view poolFlags, std::string_view recordFlags)
{
    const std::string text = replaceAll(poolFlags, "\r\n", "\r");
    const std::string_view all = text;
    std::vector<FlagItem> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cr = all.find('\r', start);
        items.push_back(
            itemOf(all.substr(start, cr == std::string_view::npos ? std::string_view::npos : cr - start), recordFlags));
        if (cr == std::string_view::npos)
            break;
        start = cr + 1;
    }
    return items;
}

std::string flagsFromItems(const std::vector<FlagItem> &items, std::string_view flagsep)
{
    std::string flags;
    for (const FlagItem &item : items) {
        if (!item.on)
            continue;
        if (!flags.empty())
            flags += flagsep;
        flags += item.value;
    }
    return flags;
}

std::optional<FlagsEditor> openEditFlags(GdtList &list, const GdtPool &pool)
{
    const int index = currentRowGadget(list);
    if (index == GdtList::kNone)
        return std::nullopt;
    const GadgetRecord &r = list.records()[static_cast<std::size_t>(index)];
    const PoolEntry *entry = pool.find(r.name);
    if (!entry)
        return std::nullopt;
    return FlagsEditor{index, flagItems(entry->flags, r.flags), entry->flagsep};
}

EditOutcome acceptEditFlags(GdtList &list, const FlagsEditor &editor)
{
    EditOutcome out;
    if (editor.index < 0 || editor.index >= list.size())
        return out;
    list.records()[static_cast<std::size_t>(editor.index)].flags = flagsFromItems(editor.items, editor.flagsep);
    list.setCurrentIndex(editor.index);
    out.mark = ChangeMark::Set;
    out.views.propertyValue = true;
    out.views.canvas = true;
    out.current = editor.index;
    return out;
}

} // namespace tafelbau
