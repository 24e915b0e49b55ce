#include "core/commands/valueedit.h"

#include "core/codegen/structurecheck.h"

#include "core/commands/selection.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"

#include <unordered_map>
#include <utility>

namespace tafelbau {

namespace {

bool heldByAnother(const GdtList &list, int index, std::string_view id)
{
    const auto &records = list.records();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (static_cast<int>(i) != index && records[i].varId == id)
            return true;
    return false;
}

std::int32_t *numberField(GadgetRecord &r, int row)
{
    switch (row) {
    case RowX: return &r.x;
    case RowY: return &r.y;
    case RowXD: return &r.xd;
    case RowYD: return &r.yd;
    default: return nullptr;
    }
}

} // namespace

RowEdit rowEdit(int row) noexcept
{
    switch (row) {
    case RowVarId:
    case RowText:
    case RowX:
    case RowY:
    case RowXD:
    case RowYD:
    case RowKarte: return RowEdit::InputBox;
    case RowIgnoreXY: return RowEdit::Toggle;
    case RowFlags: return RowEdit::FlagsEditor;
    default: return row >= RowP0 && row < PropertyRowCount ? RowEdit::InputBox : RowEdit::None;
    }
}

std::string propertyValueText(const GadgetRecord &r, int row)
{
    switch (row) {
    case RowTyp: return r.name;
    case RowVarId: return r.varId;
    case RowCode: return r.code;
    case RowText: return r.text;
    case RowX: return numberText(r.x);
    case RowY: return numberText(r.y);
    case RowIgnoreXY: return numberText(r.xy0);
    case RowXD: return numberText(r.xd);
    case RowYD: return numberText(r.yd);
    case RowFlags: return r.flags;
    case RowKarte: return numberText(r.card);
    case RowDontShow: return numberText(r.dontshow);
    default:
        if (row >= RowP0 && row < PropertyRowCount)
            return r.p[static_cast<std::size_t>(row - RowP0)];
        return {};
    }
}

bool renameReferencesEverywhere(GdtList &list, std::string_view from, std::string_view to)
{
    bool changed = false;
    if (from.empty() || from == to)
        return changed;
    for (int i : recordsReferringTo(list, from))
        changed = renameReferences(list.records()[static_cast<std::size_t>(i)], from, to) || changed;
    return changed;
}

EditOutcome editPropertyRow(GdtList &list, int row, std::string_view edited, std::string_view lineBreakCode)
{
    EditOutcome out;
    out.views.canvas = true;
    const int index = currentRowGadget(list);
    out.current = index;
    if (index == GdtList::kNone || rowEdit(row) != RowEdit::InputBox)
        return out;
    GadgetRecord &r = list.records()[static_cast<std::size_t>(index)];
    out.views.propertyValue = true;
    if (edited != propertyValueText(r, row))
        out.mark = ChangeMark::Set;

    if (row == RowVarId) {
        // The record's own identifier does not count against it.
        if (edited.find_first_of("\r\n") != std::string_view::npos) {
            out.message = kVarIdLineBreak;
        } else if (edited.empty() || heldByAnother(list, index, edited)) {
            out.message = kVarIdRefused;
        } else {
            const std::string old = std::exchange(r.varId, std::string(edited));
            out.views.currentRowText = true;
            if (renameReferencesEverywhere(list, old, r.varId))
                out.views.rebuildList = true;
        }
    } else if (row == RowText) {
        r.text = withLineBreakCode(edited, lineBreakCode);
    } else if (row == RowKarte) {
        const std::int32_t card = parseWholeNumber(edited);
        if (card != r.card) {
            r.card = card;
            out.views.nextFreeCard = true;
            out.views.cardChooser = true;
        }
    } else if (std::int32_t *field = numberField(r, row)) {
        *field = parseWholeNumber(edited);
    } else {
        r.p[static_cast<std::size_t>(row - RowP0)] = withLineBreakCode(edited, lineBreakCode);
    }
    return out;
}

EditOutcome toggleIgnoreXY(GdtList &list)
{
    EditOutcome out;
    out.views.canvas = true;
    const int index = currentRowGadget(list);
    out.current = index;
    if (index == GdtList::kNone)
        return out;
    GadgetRecord &r = list.records()[static_cast<std::size_t>(index)];
    r.xy0 = r.xy0 == 1 ? 0 : 1;
    out.mark = ChangeMark::Set;
    out.views.propertyValue = true;
    return out;
}

std::string codeResetQuestion()
{
    return latin1ToUtf8("Wollen Sie sicher den Code der gew\xE4hlten Gadgets zur\374ck setzen?");
}

EditOutcome resetGadgetCode(GdtList &list, const GdtPool &pool)
{
    for (GadgetRecord &r : list.records()) {
        if (!r.selected)
            continue;
        if (const PoolEntry *entry = pool.find(r.name)) {
            r.code = entry->code;
            r.pname = entry->p;
        }
    }
    return changedAndRebuilt(list);
}

std::string replaceAllFolded(std::string_view text, std::string_view search, std::string_view replacement)
{
    if (search.empty())
        return std::string(text);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= search.size() && equalsFolded(text.substr(i, search.size()), search)) {
            out += replacement;
            i += search.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

EditOutcome replaceVarIds(GdtList &list, std::string_view prefix, std::string_view search, std::string_view replacement)
{
    std::vector<std::pair<std::string, std::string>> renamed;
    for (GadgetRecord &r : list.records()) {
        if (!r.selected)
            continue;
        std::string old = r.varId;
        if (!search.empty())
            r.varId = replaceAllFolded(r.varId, search, replacement);
        r.varId.insert(0, prefix);
        if (r.varId != old)
            renamed.emplace_back(std::move(old), r.varId);
    }
    if (!renamed.empty()) {
        std::unordered_map<std::string_view, const std::string *> to;
        for (const auto &[old, now] : renamed)
            to.try_emplace(old, &now);
        for (GadgetRecord &r : list.records())
            renameReferences(r, [&](std::string_view name) {
                const auto it = to.find(name);
                return it == to.end() ? nullptr : it->second;
            });
    }
    return changedAndRebuilt(list);
}

} // namespace tafelbau
