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

inline tafelbau::GadgetRecord record(char kind, std::string id, std::int32_t card)
{
    tafelbau::GadgetRecord r;
    r.varId = std::move(id);
    r.text = r.varId;
    r.card = card;
    r.x = 10;
    r.y = 10;
    r.xd = 80;
    r.yd = 20;
    switch (kind) {
    case 'W':
        r.name = "OpenWindow";
        r.code = "OpenWindow(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
        r.x = r.y = 0;
        r.xd = 420;
        r.yd = 300;
        r.xy0 = 1;
        break;
    case 'P':
        r.name = "PanelGadget";
        r.code = "PanelGadget(#[id], [x], [y], [xd], [yd])";
        r.xd = 300;
        r.yd = 200;
        break;
    case 'G':
        r.name = "AddGadgetItem";
        r.code = "AddGadgetItem(#[p0], -1, \"[text]\")";
        r.pname[0] = "Panel (VarID ohne #)";
        r.x = r.y = 0;
        r.xd = 296;
        r.yd = 174;
        r.xy0 = 1;
        break;
    case 'K':
        r.name = "ContainerGadget";
        r.code = "ContainerGadget(#[id], [x], [y], [xd], [yd], [flags])";
        r.xd = 200;
        r.yd = 150;
        break;
    case 'C':
        r.name = "CloseGadgetList";
        r.code = "CloseGadgetList()";
        r.x = r.y = r.xd = r.yd = 0;
        r.dontshow = 1;
        break;
    case 'O':
        r.name = "OpenGadgetList";
        r.code = "OpenGadgetList(#[p0])";
        r.x = r.y = r.xd = r.yd = 0;
        r.dontshow = 1;
        break;
    case 'B':
        r.name = "ButtonGadget";
        r.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
        break;
    case 'X':
        r.name = "ComboBoxGadget";
        r.code = "ComboBoxGadget(#[id], [x], [y], [xd], [yd], [flags])";
        break;
    case 'L':
        r.name = "ListViewGadget";
        r.code = "ListViewGadget(#[id], [x], [y], [xd], [yd], [flags])";
        break;
    case 'T':
        r.name = "TextGadget";
        r.code = "TextGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
        break;
    case 'S':
        r.name = "SplitterGadget";
        r.code = "SplitterGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])";
        r.pname[0] = "Gadget 1 (mit #)";
        r.pname[1] = "Gadget 2 (mit #)";
        break;
    case 'Y':
        r.name = "Code";
        r.code = "[text]";
        r.x = r.y = r.xd = r.yd = 0;
        r.dontshow = 1;
        break;
    default: throw std::invalid_argument(std::string("unknown kind ") + kind);
    }
    return r;
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
