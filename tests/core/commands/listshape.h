#pragma once

// Lists written as short texts for table-driven tests: "A B* C" is three
// records with the VarIDs A, B and C, of which B is selected.
#include "core/document/gdtlist.h"

#include <sstream>
#include <string>
#include <string_view>

namespace listshape {

inline tafelbau::GdtList listOf(std::string_view shape)
{
    tafelbau::GdtList list;
    std::istringstream words{std::string(shape)};
    std::string word;
    while (words >> word) {
        tafelbau::GadgetRecord r;
        if (word.back() == '*') {
            r.selected = true;
            word.pop_back();
        }
        r.varId = word;
        r.name = "Type";
        list.append(std::move(r));
    }
    return list;
}

inline std::string shapeOf(const tafelbau::GdtList &list)
{
    std::string out;
    for (const tafelbau::GadgetRecord &r : list.records()) {
        if (!out.empty())
            out += ' ';
        out += r.varId;
        if (r.selected)
            out += '*';
    }
    return out;
}

} // namespace listshape
