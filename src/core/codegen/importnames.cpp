#include "core/codegen/importnames.h"

#include <algorithm>

namespace tafelbau {

ImportNames::Ref ImportNames::name(const std::string &candidate, Source source, std::size_t record,
                                   std::string_view type, std::size_t line, std::optional<std::string> &clash)
{
    Ref ref;
    if (source != Source::Constant) {
        ref.pending = static_cast<int>(m_waiting.size());
        m_waiting.push_back({record, candidate, source == Source::Declared, line, type});
        return ref;
    }
    ref.id = claim(candidate, clash);
    return ref;
}

std::string ImportNames::claim(const std::string &candidate, std::optional<std::string> &clash)
{
    std::string inTheWay;
    std::string id = m_ids.claim(candidate, inTheWay);
    if (!inTheWay.empty() && inTheWay != candidate)
        clash = "VarID " + candidate + " unterscheidet sich von " + inTheWay + " nur in Gro\xDF-/Kleinschreibung";
    return id;
}

void ImportNames::finish(GdtList &list, std::vector<ImportNote> &notes)
{
    std::vector<std::string> names(m_waiting.size());
    for (const bool declared : {true, false}) {
        for (std::size_t k = 0; k < m_waiting.size(); ++k) {
            const Waiting &w = m_waiting[k];
            if (w.declared != declared)
                continue;
            std::optional<std::string> clash;
            std::string id = claim(w.candidate, clash);
            if (clash)
                notes.push_back(
                    {w.line, std::string(w.type) + " " + id, std::move(*clash), std::string(kTakenAs) + id});
            list.records()[w.record].varId = id;
            names[k] = std::move(id);
        }
    }
    // Last first: several names may go into one parameter, each at an
    // offset that the ones before it do not move.
    for (auto it = m_parameters.rbegin(); it != m_parameters.rend(); ++it)
        list.records()[it->record].p[it->field].insert(it->offset, names[static_cast<std::size_t>(it->pending)]);
    for (const NoteFill &fill : m_notes) {
        ImportNote &n = notes[fill.note];
        const std::string &name = names[static_cast<std::size_t>(fill.pending)];
        n.gadget += name;
        if (fill.taken)
            n.taken += name;
    }
    // Inner gadgets come before the call they stand in, and their notes too;
    // the notes of renames come last.
    const auto byLine = [](const ImportNote &a, const ImportNote &b) { return a.line < b.line; };
    if (!std::is_sorted(notes.begin(), notes.end(), byLine))
        std::stable_sort(notes.begin(), notes.end(), byLine);
}

} // namespace tafelbau
