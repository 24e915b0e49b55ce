#pragma once

// Dialog lists written as short texts for table-driven tests, with the
// templates of the shipped pool. Words are separated by blanks:
//
//   W:Win@0 P:Tabs@0 G:One@1>Tabs B:Name@1 C:End@0 B:Ok@0*
//
// KIND:VARID@CARD, then ">TARGET" for the first parameter of an
// AddGadgetItem or OpenGadgetList, "*" for a selected record. Kinds:
// W window, P panel, G AddGadgetItem, K container, C CloseGadgetList,
// O OpenGadgetList, B button, X combo box, L list view, T text, S splitter,
// Y code. Windows and pages are window-like (drawn at 0,0) as in the pool.
#include "core/document/gdtlist.h"

#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dialoglist {

struct Kind
{
    char kind;
    const char *name;
    const char *code;
    std::int32_t x, y, xd, yd;
    std::int32_t xy0, dontshow;
    const char *pname0 = "";
    const char *pname1 = "";
};

// clang-format off
inline constexpr Kind kKinds[] = {
    {'W', "OpenWindow", "OpenWindow(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])", 0, 0, 420, 300, 1, 0},
    {'P', "PanelGadget", "PanelGadget(#[id], [x], [y], [xd], [yd])", 10, 10, 300, 200, 0, 0},
    {'G', "AddGadgetItem", "AddGadgetItem(#[p0], -1, \"[text]\")", 0, 0, 296, 174, 1, 0, "Panel (VarID ohne #)"},
    {'K', "ContainerGadget", "ContainerGadget(#[id], [x], [y], [xd], [yd], [flags])", 10, 10, 200, 150, 0, 0},
    {'C', "CloseGadgetList", "CloseGadgetList()", 0, 0, 0, 0, 0, 1},
    {'O', "OpenGadgetList", "OpenGadgetList(#[p0])", 0, 0, 0, 0, 0, 1},
    {'B', "ButtonGadget", "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])", 10, 10, 80, 20, 0, 0},
    {'X', "ComboBoxGadget", "ComboBoxGadget(#[id], [x], [y], [xd], [yd], [flags])", 10, 10, 80, 20, 0, 0},
    {'L', "ListViewGadget", "ListViewGadget(#[id], [x], [y], [xd], [yd], [flags])", 10, 10, 80, 20, 0, 0},
    {'T', "TextGadget", "TextGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])", 10, 10, 80, 20, 0, 0},
    {'S', "SplitterGadget", "SplitterGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])", 10, 10, 80, 20, 0, 0,
     "Gadget 1 (mit #)", "Gadget 2 (mit #)"},
    {'Y', "Code", "[text]", 0, 0, 0, 0, 0, 1},
};
// clang-format on

inline tafelbau::GadgetRecord record(char kind, std::string id, std::int32_t card)
{
    for (const Kind &k : kKinds) {
        if (k.kind != kind)
            continue;
        tafelbau::GadgetRecord r;
        r.varId = std::move(id);
        r.text = r.varId;
        r.card = card;
        r.name = k.name;
        r.code = k.code;
        r.x = k.x, r.y = k.y, r.xd = k.xd, r.yd = k.yd;
        r.xy0 = k.xy0;
        r.dontshow = k.dontshow;
        r.pname[0] = k.pname0;
        r.pname[1] = k.pname1;
        return r;
    }
    throw std::invalid_argument(std::string("unknown kind ") + kind);
}

inline tafelbau::GdtList listOf(std::string_view shape)
{
    tafelbau::GdtList list;
    std::istringstream words{std::string(shape)};
    std::string word;
    while (words >> word) {
        const bool selected = word.back() == '*';
        if (selected)
            word.pop_back();
        const std::size_t at = word.find('@');
        const std::size_t arrow = word.find('>');
        const std::string id = word.substr(2, at - 2);
        const std::string cardText = word.substr(at + 1, arrow == std::string::npos ? std::string::npos : arrow - at - 1);
        tafelbau::GadgetRecord r = record(word[0], id, std::stoi(cardText));
        if (arrow != std::string::npos)
            r.p[0] = word.substr(arrow + 1);
        r.selected = selected;
        list.append(std::move(r));
    }
    return list;
}

/// "VarID@card" of every record, blank-separated.
inline std::string cardsOf(const tafelbau::GdtList &list)
{
    std::string out;
    for (const tafelbau::GadgetRecord &r : list.records()) {
        if (!out.empty())
            out += ' ';
        out += r.varId + "@" + std::to_string(r.card);
    }
    return out;
}

} // namespace dialoglist
