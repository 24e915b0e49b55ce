// The nesting the generated code gives the gadgets of a list: which window,
// panel page or container each one is created in. The code creates gadgets
// in list order into the innermost gadget list open at that point; the card
// canvas, the list commands, the import and the check all ask this one
// model where a record belongs.
#pragma once

#include "core/codegen/controltype.h"
#include "core/document/gdtlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tafelbau {

/// What a record is in the dialog's structure, told by the function its
/// template calls.
enum class StructureRole : std::uint8_t {
    Gadget,    ///< a control, or code that makes none, created in its parent's list
    Window,    ///< OpenWindow: a gadget list of its own; heads a card
    Container, ///< a gadget whose template opens a gadget list: container, scroll area, canvas container
    Panel,     ///< a panel: the gadget list it opens holds its pages
    Page,      ///< AddGadgetItem naming a panel: that panel's next page; heads a card
    Item,      ///< AddGadgetItem naming any other gadget: one item of it
    OpenList,  ///< OpenGadgetList: a container's gadget list open again
    CloseList, ///< CloseGadgetList: the innermost open gadget list closed
};

struct StructureNode
{
    StructureRole role = StructureRole::Gadget;
    ControlType type;
    /// The record the code creates this one in: a window, a page or a
    /// container (a panel itself before its first page); -1 before any
    /// window. A page's parent is its panel. A CloseGadgetList or
    /// OpenGadgetList belongs to the list that is current around it, the
    /// outer one.
    int parent = -1;
    /// Page, Item, OpenList: the record its first argument names (-1 when
    /// no earlier record has that VarID). CloseList: the record whose list it
    /// closes (-1 when none was open).
    int owner = -1;
    /// The indent level the code nests the record at: gadgets of a window
    /// 0, the pages of a panel at depth d d + 1, their gadgets d + 2, the
    /// gadgets of a container at depth d d + 1.
    std::int32_t depth = 0;
    /// Window, Container, Panel, OpenList: a gadget list is opened. Page:
    /// its panel's list was the open one, so the gadgets after it go on it.
    bool opensList = false;
    /// Container, Panel: its list is still open at the next window or at
    /// the end of the list.
    bool leftOpen = false;
    /// For the records gadgets are created in: the card those gadgets lie
    /// on. A window's or page's own card; a container's the card of the
    /// first gadget drawn in it (none before there is one).
    std::optional<std::int32_t> innerCard;
    /// For the records gadgets are created in: where the last stretch of
    /// records created in it ends, as an index into the list -- the record
    /// that ends it (the next page, its CloseGadgetList, the next window) or
    /// the list's size. Where a new record for it goes.
    int end = -1;

    bool headsCard() const { return role == StructureRole::Window || role == StructureRole::Page; }
    bool isContext() const
    {
        return role == StructureRole::Window || role == StructureRole::Page || role == StructureRole::Container
            || role == StructureRole::Panel;
    }
};

/// The structure of a whole list, one node per record, in list order. A
/// snapshot: it does not follow later changes of the list. Building it
/// reads every template once and is linear in the list.
class DialogStructure
{
public:
    DialogStructure() = default;
    explicit DialogStructure(const GdtList &list);

    std::size_t size() const { return m_nodes.size(); }
    const StructureNode &operator[](std::size_t i) const { return m_nodes[i]; }
    const std::vector<StructureNode> &nodes() const { return m_nodes; }

    /// The pages of `panel` in list order: their records hold each page's
    /// caption (text), card and size (xd, yd). Empty for anything else.
    const std::vector<int> &pagesOf(int panel) const;

    /// The record whose gadgets lie on `card`: the window or page heading
    /// it, else a container whose gadgets lie there; -1 for none. The first
    /// in list order when several claim it.
    int contextOfCard(std::int32_t card) const;

    /// Where a new record for `card` goes in `list` (the list this was built
    /// from): where the code creates gadgets on that card -- after the last
    /// record of the page, window or container whose gadgets lie there.
    /// For a card nobody heads: after the last record on it, else at the end.
    int insertionPoint(const GdtList &list, std::int32_t card) const;

    /// The area the gadgets created in `context` fill, in the coordinates
    /// they are written in: from 0,0, the inner size of a window, the size of
    /// a page, the client area of a container. Empty for anything else.
    CardRect clientArea(const GdtList &list, int context, const ControlMetrics &metrics = {}) const;

private:
    std::vector<StructureNode> m_nodes;
    std::unordered_map<int, std::vector<int>> m_pages;
    std::unordered_map<std::int32_t, int> m_cardOwners;
};

/// The size a page of `panel` gets: the panel's client area below its tabs.
CardRect panelPageArea(const GadgetRecord &panel, const ControlMetrics &metrics = {});

/// The VarID a call's argument names: its placeholders ([id], [text],
/// [p0] .. [p9], any letter case) filled from `record`, blanks and one
/// leading "#" taken off. "#[p0]" with p0 = "Panel" names Panel.
std::string namedVarId(std::string_view argument, const GadgetRecord &record);

} // namespace tafelbau
