// The shipped pool: every entry's import mask reads back the code its own
// template writes, so converting a generated dialog back is lossless.
#include "core/codegen/import.h"
#include "core/codegen/templateexpansion.h"
#include "core/document/latin1.h"
#include "core/pool/flaglines.h"
#include "core/pool/poolfile.h"

#include <gtest/gtest.h>

using namespace tafelbau;

namespace {

GdtPool shippedPool()
{
    GdtPool pool;
    EXPECT_TRUE(loadGdtPool(std::filesystem::path(TAFELBAU_SOURCE_DIR) / "data" / "TafelbauGadgetPool.ini", pool));
    return pool;
}

GadgetRecord madeFrom(const PoolEntry &e)
{
    GadgetRecord r;
    r.name = e.name, r.varId = e.name + "1", r.code = e.code, r.text = r.varId;
    r.x = 10, r.y = 20, r.xd = 100, r.yd = 25, r.flags = defaultFlags(e);
    for (std::size_t i = 0; i < 10; ++i) {
        r.pname[i] = e.p[i];
        r.p[i] = "$" + std::to_string(10 + i); // a number in PureBasic's hex form
    }
    return r;
}

/// The placeholders of `mask` (folded) that import reads, each with its value in `r`.
std::string valuesTakenBy(const std::string &mask, const GadgetRecord &r)
{
    std::vector<std::pair<std::string, std::string>> fields = {{"[id]", r.varId},
                                                               {"[x]", std::to_string(r.x)},
                                                               {"[y]", std::to_string(r.y)},
                                                               {"[xd]", std::to_string(r.xd)},
                                                               {"[yd]", std::to_string(r.yd)},
                                                               {"[text]", r.text},
                                                               {"[flags]", r.flags}};
    for (std::size_t i = 0; i < 10; ++i)
        fields.emplace_back("[p" + std::to_string(i) + "]", r.p[i]);
    std::string out;
    for (const auto &[placeholder, value] : fields)
        if (mask.find(placeholder) != std::string::npos)
            out += placeholder + value;
    return out;
}

} // namespace

TEST(DefaultFlags, TakesTheValuesOfLinesThatDefaultToOne)
{
    PoolEntry e;
    e.flagsep = " | ";
    e.flags = "1:Sys = #A\r\n0:Off=#B\r\n 1 :Two=#C=ignored\r\nno colon 1=#D\r1:Last=#E ";
    EXPECT_EQ(defaultFlags(e), " #A | #C | #E"); // values are not trimmed; lines are
    e.flags = "";
    EXPECT_EQ(defaultFlags(e), "");
}

// Its entries, one per gadget of the library, are named in ControlType.EveryEntryOfTheShippedPool.
TEST(ShippedPool, SettingsOrderAndColours)
{
    const GdtPool pool = shippedPool();
    EXPECT_EQ(pool.settings.codeFileExt, ".pbi");
    EXPECT_EQ(pool.settings.konstEnde, "EndEnumeration\r\n#GadgetIndex=#PB_Compiler_EnumerationValue");
    GdtPool sorted = pool;
    sorted.sortIntoPoolOrder();
    for (std::size_t i = 0; i < pool.entries.size(); ++i)
        EXPECT_EQ(sorted.entries[i].name, pool.entries[i].name) << "the file is in pool order";
    // Red and green mark the selected gadgets while moving and resizing: a
    // type drawn in either would look selected, or a selection unselected.
    for (const PoolEntry &e : pool.entries) {
        EXPECT_NE(e.color, 255u) << e.name;
        EXPECT_NE(e.color, 65280u) << e.name;
    }
}

TEST(ShippedPool, EveryEntryReadsBackItsOwnCode)
{
    const GdtPool pool = shippedPool();
    int checked = 0;
    for (const PoolEntry &e : pool.entries) {
        if (maskPrefix(e.importcode).empty())
            continue;
        const GadgetRecord original = madeFrom(e);
        GdtList list;
        ASSERT_EQ(importSourceText(expandTemplate(original) + "\r\n", pool, list), 1) << e.name;
        const GadgetRecord &back = list.records()[0];
        EXPECT_EQ(back.name, e.name);
        const std::string mask = foldedCopy(e.importcode);
        EXPECT_EQ(valuesTakenBy(mask, back), valuesTakenBy(mask, original)) << e.name;
        ++checked;
    }
    EXPECT_GE(checked, 37);
}
