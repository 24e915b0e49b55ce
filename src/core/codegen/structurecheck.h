// Where the cards and the code of a list disagree: what the canvas shows
// and what the generated code builds are two readings of one list, and the
// user is told where they part, in words that say what the code will do.
#pragma once

#include "core/codegen/dialogstructure.h"

#include <functional>
#include <string>
#include <vector>

namespace tafelbau {

struct StructureProblem
{
    enum class Kind {
        WrongCard,         ///< drawn on another card than its parent's
        UnknownReference,  ///< names a VarID no record declares
        OutsideParent,     ///< reaches beyond its window's, page's or container's client area
        NothingToClose,    ///< CloseGadgetList with no gadget list of a container open
        LeftOpen,          ///< a container's or panel's gadget list never closed
        ItemWithoutTaker,  ///< AddGadgetItem to a gadget that takes no items
    };
    Kind kind;
    int record = -1;   ///< the record the problem is about, for selecting it
    std::string text;  ///< German, UTF-8, starting with the gadget's name
};

/// Every problem of `list`, in list order. A clean list gives none. Linear
/// in the list (plus the length of the templates).
std::vector<StructureProblem> checkStructure(const GdtList &list, const DialogStructure &structure,
                                             const ControlMetrics &metrics = {});
std::vector<StructureProblem> checkStructure(const GdtList &list);

/// The VarIDs record `index` refers to: each template parameter written
/// after "#" ("#[p0]"), and each parameter whose name says "mit #" holding
/// "#Name". Pairs of parameter number (-1 for the caption) and name.
std::vector<std::pair<int, std::string>> referencedVarIds(const GadgetRecord &record);

/// The indexes of the records that refer to `varId` (see referencedVarIds).
std::vector<int> recordsReferringTo(const GdtList &list, std::string_view varId);

/// In `record`, every reference to `from` (see referencedVarIds) made one
/// to `to`. True when something changed.
bool renameReferences(GadgetRecord &record, std::string_view from, std::string_view to);
/// The same for several renames at once: `renamed` gives the new name of
/// an old one, nullptr for a name that stays. Each reference changes once.
bool renameReferences(GadgetRecord &record, const std::function<const std::string *(std::string_view)> &renamed);

} // namespace tafelbau
