// The shipped pool: every entry's import mask reads back the code its own
// template writes, so converting a generated dialog back is lossless.
#include "core/codegen/import.h"
#include "core/codegen/templateexpansion.h"
#include "core/document/latin1.h"
#include "core/pool/flaglines.h"
#include "core/pool/poolfile.h"

#include <gtest/gtest.h>

#include <functional>

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
    r.name = e.name;
    r.varId = e.name + "1";
    r.code = e.code;
    r.text = r.varId;
    r.x = 10;
    r.y = 20;
    r.xd = 100;
    r.yd = 25;
    r.flags = defaultFlags(e);
    for (std::size_t i = 0; i < 10; ++i) {
        r.pname[i] = e.p[i];
        r.p[i] = "$" + std::to_string(10 + i); // a number in PureBasic's hex form
    }
    return r;
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

TEST(ShippedPool, HasEveryGadgetOfTheLibrary)
{
    const GdtPool pool = shippedPool();
    for (const char *name :
         {"OpenWindow",          "ButtonGadget",       "ButtonImageGadget",  "CalendarGadget",    "CanvasGadget",
          "CheckBoxGadget",      "ComboBoxGadget",     "ContainerGadget",    "DateGadget",        "EditorGadget",
          "ExplorerComboGadget", "ExplorerListGadget", "ExplorerTreeGadget", "FrameGadget",       "HyperLinkGadget",
          "IPAddressGadget",     "ImageGadget",        "ListIconGadget",     "ListViewGadget",    "MDIGadget",
          "OpenGLGadget",        "OptionGadget",       "PanelGadget",        "ProgressBarGadget", "ScintillaGadget",
          "ScrollAreaGadget",    "ScrollBarGadget",    "ShortcutGadget",     "SpinGadget",        "SplitterGadget",
          "StringGadget",        "TextGadget",         "TrackBarGadget",     "TreeGadget",        "WebGadget",
          "AddGadgetItem",       "CloseGadgetList"})
        EXPECT_NE(pool.find(name), nullptr) << name;
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
        const std::string mask = foldedCopy(e.importcode);
        auto takes = [&](const char *placeholder) { return mask.find(placeholder) != std::string::npos; };
        EXPECT_EQ(back.name, e.name);
        using Get = std::function<std::string(const GadgetRecord &)>;
        const std::vector<std::pair<std::string, Get>> fields = {
            {"[id]", [](const GadgetRecord &r) { return r.varId; }},
            {"[x]", [](const GadgetRecord &r) { return std::to_string(r.x); }},
            {"[y]", [](const GadgetRecord &r) { return std::to_string(r.y); }},
            {"[xd]", [](const GadgetRecord &r) { return std::to_string(r.xd); }},
            {"[yd]", [](const GadgetRecord &r) { return std::to_string(r.yd); }},
            {"[text]", [](const GadgetRecord &r) { return r.text; }},
            {"[flags]", [](const GadgetRecord &r) { return r.flags; }},
        };
        for (const auto &[placeholder, get] : fields) {
            if (takes(placeholder.c_str())) {
                EXPECT_EQ(get(back), get(original)) << e.name << " " << placeholder;
            }
        }
        for (std::size_t i = 0; i < 10; ++i) {
            if (takes(("[p" + std::to_string(i) + "]").c_str())) {
                EXPECT_EQ(back.p[i], original.p[i]) << e.name << " p" << i;
            }
        }
        ++checked;
    }
    EXPECT_GE(checked, 37);
}
