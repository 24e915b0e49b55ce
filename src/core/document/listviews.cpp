#include "core/document/listviews.h"

#include "core/document/latin1.h"

#include <algorithm>

namespace tafelbau {

std::string gadgetRowText(const GadgetRecord &record)
{
    // Bounded like the code's indentation: a hand-edited level cannot make
    // a row of millions of blanks.
    const std::int32_t level = record.tab > 0 ? std::min<std::int32_t>(record.tab, 1000) : 0;
    return std::string(static_cast<std::size_t>(level) * 2, ' ') + record.varId;
}

std::vector<std::pair<std::string, std::string>> propertyRows(const GadgetRecord &r)
{
    std::vector<std::pair<std::string, std::string>> rows = {
        {"Typ", r.name},
        {"VarID", r.varId},
        {"Code", r.code},
        {"Text", r.text},
        {"X", numberText(r.x)},
        {"Y", numberText(r.y)},
        {"Ignore XY", r.xy0 != 0 ? "1" : "0"},
        {"XD", numberText(r.xd)},
        {"YD", numberText(r.yd)},
        {"Flags", r.flags},
        {"Karte", numberText(r.card)},
        {"DontShow", r.dontshow != 0 ? "1" : "0"},
    };
    for (std::size_t i = 0; i < 10; ++i)
        rows.emplace_back(r.pname[i], r.p[i]);
    return rows;
}

std::string windowTitle(const std::filesystem::path &listFile, bool changed)
{
    const std::string &full = listFile.native();
    const std::size_t cut = full.find_last_of("/\\");
    std::string title = " Tafelbau 0.583";
    // A new list has no name: no dash is left hanging before it.
    if (!full.empty())
        title += " - " + (cut == std::string::npos ? full : full.substr(cut + 1));
    if (changed)
        title += " *";
    return title;
}

int scrollTargetRow(int lastSelectedIndex, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    return std::clamp(lastSelectedIndex + 2, 0, rowCount - 1);
}

} // namespace tafelbau
