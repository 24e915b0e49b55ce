// Import that reads PureBasic as PureBasic, with the shipped pool.
#include "core/codegen/codefile.h"
#include "core/codegen/syntaximport.h"
#include "core/codegen/templateexpansion.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "core/pool/flaglines.h"
#include "core/pool/poolfile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tafelbau;

namespace {

const GdtPool &shippedPool()
{
    static const GdtPool pool = [] {
        GdtPool p;
        EXPECT_TRUE(loadGdtPool(std::filesystem::path(TAFELBAU_SOURCE_DIR) / "data" / "TafelbauGadgetPool.ini", p));
        return p;
    }();
    return pool;
}

struct Imported
{
    GdtList list;
    ImportReport report;
};

Imported read(std::string_view source)
{
    Imported out;
    out.report = importSourceSyntax(source, shippedPool(), out.list);
    return out;
}

std::vector<std::string> varIds(const GdtList &list)
{
    std::vector<std::string> ids;
    for (const GadgetRecord &r : list.records())
        ids.push_back(r.name + " " + r.varId);
    return ids;
}

} // namespace

TEST(SyntaxImport, ShippedPoolChoosesIt)
{
    EXPECT_EQ(shippedPool().settings.importSyntax, std::optional<bool>(true));
}

struct CallCase
{
    const char *what;
    std::string source;
    std::string type, varId, text;
    std::int32_t x = 0, y = 0, xd = 0, yd = 0;
    std::string flags = {}, p0 = {}, p1 = {};
};

TEST(SyntaxImport, ValuesOfOneCall)
{
    const CallCase cases[] = {
        {"#PB_Any assigned", "  Close = ButtonGadget(#PB_Any, 10, 20, 80, 24, \"Schlie\xDF" "en\")", "ButtonGadget",
         "Close", "Schlie\xDF" "en", 10, 20, 80, 24, "0"},
        {"-1 into a field with a type", "*dlg\\close.i = ButtonGadget(-1, 1, 2, 3, 4, \"x\", #PB_Button_Default)",
         "ButtonGadget", "close", "x", 1, 2, 3, 4, "#PB_Button_Default"},
        {"array element", "Knopf(3) = ButtonGadget(#PB_Any, 1, 2, 3, 4, \"\")", "ButtonGadget", "Knopf", "", 1, 2, 3,
         4, "0"},
        {"constant, comment after", "ButtonGadget(#Ok, 10, 20, 80, 24, \"OK\")  ; Knopf, Ende)", "ButtonGadget", "Ok",
         "OK", 10, 20, 80, 24, "0"},
        {"gadget number", "ButtonGadget(255, 1, 2, 3, 4, \"x\")", "ButtonGadget", "ButtonGadget255", "x", 1, 2, 3, 4,
         "0"},
        {"window number after If", "If OpenWindow(0, 100, 50, 400, 300, \"Titel\", #PB_Window_SystemMenu | "
                                   "#PB_Window_ScreenCentered)",
         "OpenWindow", "OpenWindow0", "Titel", 100, 50, 400, 300, "#PB_Window_SystemMenu | #PB_Window_ScreenCentered"},
        {"variable", "ButtonGadget(btnOk, 1, 2, 3, 4, \"x\")", "ButtonGadget", "btnOk", "x", 1, 2, 3, 4, "0"},
        {"quote as a character", "ButtonGadget(#C, 1, 2, 3, 4, \"x\", Asc('\"'))", "ButtonGadget", "C", "x", 1, 2, 3, 4,
         "Asc('\"')"},
        {"field with a type", "ButtonGadget(*dlg\\ok.i, 1, 2, 3, 4, \"x\")", "ButtonGadget", "ok", "x", 1, 2, 3, 4, "0"},
        {"comma in a string, nested call", "DateGadget(#Datum, 10, 10, 120, 25, \"%dd, %mm\", Date())", "DateGadget",
         "Datum", "", 10, 10, 120, 25, "0", "%dd, %mm", "Date()"},
        {"escaped string without escapes", "TextGadget(#T, 1, 2, 3, 4, ~\"ab;c\")", "TextGadget", "T", "ab;c", 1, 2, 3,
         4, "0"},
        {"number forms", "TextGadget(#T, $10, 20*GTBScale, %11, -4, \"\")", "TextGadget", "T", "", 16, 20, 3, -4, "0"},
        {"hex digits at their ends", "TextGadget(#T, $09, $Af, $aF, $f0, \"\")", "TextGadget", "T", "", 9, 0xAF, 0xAF,
         0xF0, "0"},
        {"function in other letter case", "buttongadget(#Ok, 1, 2, 3, 4, \"x\", 0)", "ButtonGadget", "Ok", "x", 1, 2, 3,
         4, "0"},
        {"flags over lines with a comment",
         "TextGadget(#T, 1, 2, 3, 4, \"t\",\r\n    #PB_Text_Center | ; mittig\r\n    #PB_Text_Border)", "TextGadget",
         "T", "t", 1, 2, 3, 4, "#PB_Text_Center | #PB_Text_Border"},
        {"constant parameter loses its #", "AddGadgetItem(#Panel, -1, \"Seite 1\")", "AddGadgetItem", "AddGadgetItem",
         "Seite 1", 0, 0, 0, 0, "", "Panel"},
        {"line break piece kept as written", "ButtonGadget(#B, 1, 2, 3, 4, \"a\"+#CRLF$+\"b\")", "ButtonGadget", "B",
         "a\"+#CRLF$+\"b", 1, 2, 3, 4, "0"},
        {"raw parameters as written", "SplitterGadget(#S, 0, 0, 9, 9, #Links, GadgetID( 2 ), #PB_Splitter_Vertical)",
         "SplitterGadget", "S", "", 0, 0, 9, 9, "#PB_Splitter_Vertical", "#Links", "GadgetID( 2 )"},
        {"blank before the parenthesis", "Ok = ButtonGadget (#PB_Any, 1, 2, 3, 4, \"x\")", "ButtonGadget", "Ok", "x", 1,
         2, 3, 4, "0"},
    };
    for (const CallCase &c : cases) {
        const Imported in = read(c.source);
        ASSERT_EQ(in.list.size(), 1) << c.what;
        const GadgetRecord &r = in.list.records()[0];
        EXPECT_EQ(r.name, c.type) << c.what;
        EXPECT_EQ(r.varId, c.varId) << c.what;
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_EQ((std::array{r.x, r.y, r.xd, r.yd}), (std::array{c.x, c.y, c.xd, c.yd})) << c.what;
        EXPECT_EQ(r.flags, c.flags) << c.what;
        EXPECT_EQ(r.p[0], c.p0) << c.what;
        EXPECT_EQ(r.p[1], c.p1) << c.what;
        EXPECT_TRUE(in.report.notes.empty()) << c.what << ": " << importReportMessage(in.report, 5);
    }
}

TEST(SyntaxImport, EveryCallOutsideCommentsAndStrings)
{
    const std::string source =
        "; ButtonGadget(#Kommentar, 0, 0, 0, 0, \"nein\")\r\n"
        "TextGadget(#A, 1, 2, 3, 4, \"ButtonGadget(#ImString, 0, 0, 0, 0, x)\") : "
        "ButtonGadget(#B, 1, 2, 3, 4, \"b\") : SetGadgetState(#Bar, 50)\r"
        "ButtonGadget(#C, 1, 2,\n  3, 4, \"c\")\n"
        "StringGadget(#D, 1, 2, 3, 4, 'x') : CheckBoxGadget(#E, 1, 2, 3, 4, \"e\") ; TextGadget(#F, 1, 2, 3, 4, \"\")\n"
        "Declare ButtonGadget(a) : Procedure.i TextGadget(x) : p = @ButtonGadget() : "
        "Dlg::TextGadget(#G, 0, 0, 0, 0, \"\")\n"
        "SetGadgetFont(ButtonGadget(#H, 1, 2, 3, 4, ~\"\\\"ButtonGadget(#Esc)\"), FontID(0))\n";
    const Imported in = read(source);
    EXPECT_EQ(varIds(in.list), (std::vector<std::string>{"TextGadget A", "ButtonGadget B", "ButtonGadget C",
                                                          "StringGadget D", "CheckBoxGadget E", "ButtonGadget H"}));
    EXPECT_EQ(in.list.records()[1].text, "b");
    EXPECT_EQ(in.list.records()[1].flags, "0");
    EXPECT_EQ(in.list.records()[2].yd, 4);
    EXPECT_EQ(in.report.gadgets, 6);
}

TEST(SyntaxImport, ValuesThatCannotBeKeptAreReported)
{
    const std::string source = "OpenWindow(#W, 0, 0, 400, 300, #Titel)\r\n"
                               "ButtonGadget(#Ok, WindowWidth(#W) - 90, #PB_Ignore, 80, 24, \"Name: \" + n$)\r\n"
                               "ButtonGadget(#PB_Any, 1, 2, 3, 4, ~\"a\\tb\")\r\n"
                               "DateGadget(#D, 1, 2, 3, 4, Maske$)\r\n"
                               "AddGadgetItem(0, -1, \"x\")\r\n"
                               "ButtonGadget(#Offen, 1, 2, 3, 4, \"a\"\r\n"
                               "ButtonGadget(#Zu, 1, 2, 3, 4, \"z\")\r\n";
    const Imported in = read(source);
    EXPECT_EQ(varIds(in.list), (std::vector<std::string>{"OpenWindow W", "ButtonGadget Ok", "ButtonGadget ButtonGadget",
                                                          "DateGadget D", "AddGadgetItem AddGadgetItem",
                                                          "ButtonGadget Offen", "ButtonGadget Zu"}));
    EXPECT_EQ(in.list.records()[1].text, "Name:");
    EXPECT_EQ(in.list.records()[2].text, "a\"+#TAB$+\"b");
    EXPECT_EQ(in.list.records()[5].text, "a");
    const std::string dash = " \xE2\x80\x93 \xC3\xBC" "bernommen als ";
    EXPECT_EQ(
        importReportMessage(in.report, 100),
        "Import: 7 Gadgets gelesen.\r\n"
        "Zeile 1: OpenWindow W: Text ist kein String (#Titel)"
            + dash
            + "\"\"\r\n"
              "Zeile 2: ButtonGadget Ok: X ist keine Zahl (WindowWidth(#W) - 90)"
            + dash
            + "0\r\n"
              "Zeile 2: ButtonGadget Ok: Y ist #PB_Ignore"
            + dash
            + "0\r\n"
              "Zeile 2: ButtonGadget Ok: Text ist kein String (\"Name: \" + n$)"
            + dash
            + "\"Name:\" (die Gadgetliste h\xC3\xA4lt keine Leerzeichen am Rand)\r\n"
              "Zeile 3: ButtonGadget ButtonGadget: VarID #PB_Any ohne Zuweisung an eine Variable"
            + dash
            + "ButtonGadget\r\n"
              "Zeile 3: ButtonGadget ButtonGadget: Text mit Escape-Folgen (~\"a\\tb\")"
            + dash
            + "\"a\"+#TAB$+\"b\"\r\n"
              "Zeile 4: DateGadget D: Maske ist kein String (Maske$)"
            + dash
            + "\"\"\r\n"
              "Zeile 5: AddGadgetItem AddGadgetItem: Panel (VarID ohne #) ist keine Konstante (0)"
            + dash
            + "0\r\n"
              "Zeile 6: ButtonGadget Offen: Klammer nicht geschlossen \xE2\x80\x93 Werte bis zum Zeilenende gelesen");
    EXPECT_EQ(importReportMessage(in.report, 1),
              "Import: 7 Gadgets gelesen.\r\nZeile 1: OpenWindow W: Text ist kein String (#Titel)" + dash
                  + "\"\"\r\n(und 8 weitere Werte)");
    EXPECT_EQ(importReportMessage(ImportReport{1, {}}, 0), "Import: 1 Gadget gelesen.");
    // Each kind of line break counts once, one at the very start too.
    EXPECT_EQ(read("\r\n\n\r" + source).report.notes.back().line, 9u);
    // The notes of a gadget made inside a call come after those of the
    // call's lines before it, as the lines do.
    const ImportReport inner =
        read("SplitterGadget(#S, 0, 0, 9, #PB_Ignore, ButtonGadget(#B, 1, 2,\n 3, 4, Text$), #E)").report;
    ASSERT_EQ(inner.notes.size(), 2u);
    EXPECT_EQ((std::array{inner.notes[0].line, inner.notes[1].line}), (std::array<std::size_t, 2>{1, 2}));
}

// PureBasic numbers gadgets of #PB_Any by variable; the records get
// constants instead, so every reference to a gadget follows its VarID, also
// when a second import has to number it.
TEST(SyntaxImport, ReferencesFollowTheVarIdsTheyGet)
{
    const std::string source = "Panel = PanelGadget(#PB_Any, 0, 0, 300, 200)\n"
                               "AddGadgetItem(Panel, -1, \"Seite\")\n"
                               "List = ListViewGadget(#PB_Any, 0, 0, 10, 10)\n"
                               "EditorGadget(#Edit, 0, 0, 10, 10)\n"
                               "SplitterGadget(#Split, 0, 0, 300, 200, List, #Edit)\n"
                               "AddGadgetItem(#Split, -1, \"kein Panel\")\n";
    Imported in = read(source);
    importSourceSyntax(source, shippedPool(), in.list);
    EXPECT_EQ(varIds(in.list),
              (std::vector<std::string>{"PanelGadget Panel", "AddGadgetItem AddGadgetItem", "ListViewGadget List",
                                        "EditorGadget Edit", "SplitterGadget Split", "AddGadgetItem AddGadgetItem1",
                                        "PanelGadget Panel1", "AddGadgetItem AddGadgetItem2", "ListViewGadget List1",
                                        "EditorGadget Edit1", "SplitterGadget Split1",
                                        "AddGadgetItem AddGadgetItem3"}));
    const auto &r = in.list.records();
    EXPECT_EQ(r[1].p[0], "Panel");
    EXPECT_EQ(r[7].p[0], "Panel1");
    EXPECT_EQ((std::array{r[4].p[0], r[4].p[1]}), (std::array<std::string, 2>{"#List", "#Edit"}));
    EXPECT_EQ((std::array{r[10].p[0], r[10].p[1]}), (std::array<std::string, 2>{"#List1", "#Edit1"}));
    EXPECT_EQ(r[11].p[0], "Split1");
    // The panel and its page on cards of their own; the second import after them.
    EXPECT_EQ((std::array{r[0].card, r[1].card, r[6].card, r[7].card}), (std::array{0, 1, 2, 3}));
}

// A gadget made in an argument of another is made before it, and the
// argument names it; read twice, the names follow the renamed gadgets.
TEST(SyntaxImport, GadgetsMadeInsideAnotherCallComeFirst)
{
    const std::string source = "SplitterGadget(#S, 0, 0, 9, 9, ButtonGadget(#PB_Any, 1, 2, 3, 4, \"a\"),\n"
                               "               GadgetID(ButtonGadget(#B, 1, 2, 3, 4, \"b\")), #PB_Splitter_Vertical)\n"
                               "AddGadgetItem(PanelGadget(#PB_Any, 0, 0, 9, 9), -1, \"Seite\") : "
                               "SetGadgetFont(TextGadget(#T, 0, 0, 1, 1, \"\"), 0)\n"
                               "SplitterGadget(#Z, 0, 0, 9, 9, #S, GadgetID(ImageGadget(#PB_Any, 0, 0, 1, 1, 0)) | "
                               "GadgetID(ImageGadget(#PB_Any, 0, 0, 1, 1, 0)))\n";
    Imported in = read(source);
    const ImportReport second = importSourceSyntax(source, shippedPool(), in.list);
    EXPECT_EQ(varIds(in.list),
              (std::vector<std::string>{"ButtonGadget ButtonGadget", "ButtonGadget B", "SplitterGadget S",
                                        "PanelGadget PanelGadget", "AddGadgetItem AddGadgetItem", "TextGadget T",
                                        "ImageGadget ImageGadget", "ImageGadget ImageGadget1", "SplitterGadget Z",
                                        "ButtonGadget ButtonGadget1", "ButtonGadget B1", "SplitterGadget S1",
                                        "PanelGadget PanelGadget1", "AddGadgetItem AddGadgetItem1", "TextGadget T1",
                                        "ImageGadget ImageGadget2", "ImageGadget ImageGadget3", "SplitterGadget Z1"}));
    const auto &r = in.list.records();
    EXPECT_EQ((std::array{r[2].p[0], r[2].p[1], r[2].flags}),
              (std::array<std::string, 3>{"#ButtonGadget", "GadgetID(#B)", "#PB_Splitter_Vertical"}));
    EXPECT_EQ((std::array{r[11].p[0], r[11].p[1]}), (std::array<std::string, 2>{"#ButtonGadget1", "GadgetID(#B1)"}));
    EXPECT_EQ((std::array{r[4].p[0], r[13].p[0]}), (std::array<std::string, 2>{"PanelGadget", "PanelGadget1"}));
    // Two names made later in one parameter, each where its call stood.
    EXPECT_EQ(r[8].p[1], "GadgetID(#ImageGadget) | GadgetID(#ImageGadget1)");
    EXPECT_EQ(r[17].p[1], "GadgetID(#ImageGadget2) | GadgetID(#ImageGadget3)");
    // Their value is taken by the call around them: no note of a missing variable.
    EXPECT_TRUE(in.report.notes.empty()) << importReportMessage(in.report, 10);
    EXPECT_TRUE(second.notes.empty()) << importReportMessage(second, 10);

    // A call that never closes keeps what stood on its line; the gadget
    // made in it still comes first and is named there.
    const Imported open = read("SplitterGadget(#S, 0, 0, 9, 9, ButtonGadget(#B, 1, 2,\n 3, 4, \"b\"");
    EXPECT_EQ(varIds(open.list), (std::vector<std::string>{"ButtonGadget B", "SplitterGadget S"}));
    EXPECT_EQ(open.list.records()[1].p[0], "#B");
    // One left open on the last line keeps every value it has.
    const Imported last = read("ButtonGadget(#E, 1, 2, 3, 4, \"e\"");
    ASSERT_EQ(last.list.size(), 1);
    EXPECT_EQ(last.list.records()[0].text, "e");
}

// Arguments a call leaves out get what PureBasic takes for them, or a value
// that keeps the regenerated call valid and a note.
TEST(SyntaxImport, LeftOutArgumentsKeepTheCallValid)
{
    GdtPool pool = shippedPool();
    PoolEntry &own = pool.entries.emplace_back();
    own.name = "Eigen";
    own.code = "Eigen(#[id], [p0], #[p1], \"[p2]\", [flags])";
    own.importcode = "Eigen(#[id],[p0],[p1],[p2],[flags]";
    own.p[0] = "Anzahl";
    GdtList list;
    const ImportReport report = importSourceSyntax("Eigen(#E)\nEigen(#F, , , , )\nCalendarGadget(#K, 1, 2, 3, 4)\n"
                                                   "ScrollAreaGadget(#A, 1, 2, 3, 4, 50, 60)",
                                                   pool, list);
    const auto &r = list.records();
    for (int i : {0, 1}) {
        EXPECT_EQ((std::array{r[i].p[0], r[i].p[1], r[i].p[2], r[i].flags}),
                  (std::array<std::string, 4>{"0", "", "", "0"}));
        EXPECT_EQ(expandTemplate(r[i]), std::string("Eigen(#") + (i ? "F" : "E") + ", 0, #, \"\", 0)");
    }
    EXPECT_EQ(expandTemplate(r[2]), "CalendarGadget(#K, 1*GTBScale, 2*GTBScale, 3*GTBScale, 4*GTBScale, 0, 0)");
    EXPECT_EQ(r[3].p[2], "1");
    const std::string dash = " \xE2\x80\x93 ";
    const std::string taken = dash
        + "\xC3\xBC"
          "bernommen als ";
    // clang-format off
    EXPECT_EQ(importReportMessage(report, 10), "Import: 4 Gadgets gelesen.\r\n"
                                               "Zeile 1: Eigen E: Anzahl fehlt" + taken + "0\r\n"
                                               "Zeile 1: Eigen E: p1 fehlt" + dash + "leer gelassen\r\n"
                                               "Zeile 2: Eigen F: Anzahl fehlt" + taken + "0\r\n"
                                               "Zeile 2: Eigen F: p1 fehlt" + dash + "leer gelassen\r\n"
                                               "Zeile 4: ScrollAreaGadget A: Scroll-Schritt fehlt" + taken + "1");
    // clang-format on
    // A reopened list without its tab is written without it, not with a
    // tab that PureBasic would not have taken.
    GdtList reopened;
    EXPECT_TRUE(importSourceSyntax("OpenGadgetList(#C)\nOpenGadgetList(#P, 2)", pool, reopened).notes.empty());
    EXPECT_EQ(expandTemplate(reopened.records()[0]), "OpenGadgetList(#C)");
    EXPECT_EQ(expandTemplate(reopened.records()[1]), "OpenGadgetList(#P, 2)");
    // Where the template has no such argument to leave out, a value keeps it valid.
    GdtPool elsewhere;
    PoolEntry &liste = elsewhere.entries.emplace_back();
    liste.name = "Liste";
    liste.code = "UseGadgetList([p1]) : OpenGadgetList(#[p0])";
    liste.importcode = "OpenGadgetList(#[p0],[p1]";
    GdtList one;
    EXPECT_EQ(importReportMessage(importSourceSyntax("OpenGadgetList(#C)", elsewhere, one), 10),
              "Import: 1 Gadget gelesen.\r\nZeile 1: Liste Liste: p1 fehlt" + taken + "0");
    EXPECT_EQ(expandTemplate(one.records()[0]), "UseGadgetList(0) : OpenGadgetList(#C)");

    // Placeholders of a mask in any letter case; of two entries for one
    // function the first in pool order reads the call.
    GdtPool twice;
    PoolEntry &first = twice.entries.emplace_back();
    first.name = "Erst";
    first.code = "Doppelt(#[id], [x], [y], \"[text]\")";
    first.importcode = "Doppelt(#[ID],[X],[Y],[Text]";
    PoolEntry &second = twice.entries.emplace_back();
    second.name = "Zweit";
    second.code = "Doppelt(#[id], [y], [x])";
    second.importcode = "doppelt(#[id],[y],[x]";
    GdtList both;
    EXPECT_TRUE(importSourceSyntax("Doppelt(#D, 5, 6, \"Hallo\")", twice, both).notes.empty());
    ASSERT_EQ(both.size(), 1);
    const GadgetRecord &d = both.records()[0];
    EXPECT_EQ((std::array<std::string, 2>{d.name, d.text}), (std::array<std::string, 2>{"Erst", "Hallo"}));
    EXPECT_EQ((std::array{d.x, d.y}), (std::array{5, 6}));
}

// Generated code of every entry reads back to records that generate the
// same code again, but for the indent: the read records take the depth the
// containers among them give them.
TEST(SyntaxImport, ShippedPoolRoundTrip)
{
    std::string source;
    std::vector<GadgetRecord> originals;
    for (const PoolEntry &e : shippedPool().entries) {
        if (e.importcode.empty())
            continue;
        GadgetRecord r;
        r.name = e.name;
        r.varId = e.name + "1";
        r.code = e.code;
        r.text = "Gr\xF6\xDF" "e, Breite; 1\"+#CRLF$+\"Zeile 2";
        r.x = 10, r.y = -20, r.xd = 100, r.yd = 25;
        r.flags = defaultFlags(e);
        for (std::size_t i = 0; i < 10; ++i)
            r.p[i] = e.p[i].empty() ? "" : "Wert" + std::to_string(i);
        source += expandTemplate(r) + "\r\n";
        originals.push_back(r);
    }
    const Imported in = read(source);
    ASSERT_EQ(in.list.size(), static_cast<int>(originals.size()));
    EXPECT_TRUE(in.report.notes.empty()) << importReportMessage(in.report, 10);
    for (std::size_t i = 0; i < originals.size(); ++i) {
        const std::string read = expandTemplate(in.list.records()[i]);
        EXPECT_EQ(read.substr(read.find_first_not_of('\t')), expandTemplate(originals[i])) << originals[i].name;
    }
}

TEST(SyntaxImport, GarbageNeitherCrashesNorLosesLaterGadgets)
{
    using namespace std::string_literals;
    const std::string nul = "ButtonGadget(#N\0\0, 1, 2, 3, 4, \"a\0b\")\r\n"s;
    const struct
    {
        const char *what;
        std::string source;
        int gadgets;
    } cases[] = {
        {"unterminated strings", "TextGadget(#T, 1, 2, 3, 4, \"offen\r\n~\"auch \\\"offen\r\nTextGadget(#U)", 2},
        {"NUL bytes", nul, 1},
        {"unbalanced parentheses", "If ((a)\r\n ButtonGadget(#A, 1, 2, 3, 4, \"a\")))))\r\nButtonGadget(#B)", 2},
        {"calls that never close, all on one line", [] {
             std::string s;
             for (int i = 0; i < 5000; ++i)
                 s += "ButtonGadget(";
             return s;
         }(),
         5000},
        {"a megabyte of commas and parentheses",
         "TextGadget(#T" + std::string(1 << 20, ',') + std::string(1 << 20, '('), 1},
        {"only a lone quote", "\"", 0},
    };
    for (const auto &c : cases) {
        const Imported in = read(c.source);
        EXPECT_EQ(in.list.size(), c.gadgets) << c.what;
        EXPECT_EQ(in.report.gadgets, c.gadgets) << c.what;
    }
}

TEST(SyntaxImport, PoolKeyIsKeptAndChoosesTheReading)
{
    testutil::TempDir dir;
    const std::string head = testutil::crlf(
        {"GGdtPoolCodeComment = ;", "[ButtonGadget]", "code = ButtonGadget(#[id], [x], \"[text]\")",
         "importcode = ButtonGadget([id],[x],[y],[xd],[yd],[text],[flags]"});
    testutil::writeFile(dir / "alt.pb", "  ButtonGadget(Ok, 10, 20, 80, 24, \"Weiter\") ; Knopf\r\n");
    for (const char *key : {"", "GGdtPoolImportSyntax = 0\r\n", "GGdtPoolImportSyntax = 1\r\n"}) {
        testutil::writeFile(dir / "pool.ini", key + head);
        GdtPool pool;
        ASSERT_TRUE(loadGdtPool(dir / "pool.ini", pool));
        ASSERT_TRUE(saveGdtPool(dir / "saved.ini", pool).ok);
        const std::string saved = testutil::readFile(dir / "saved.ini");
        EXPECT_EQ(saved.find("GGdtPoolImportSyntax") == std::string::npos, *key == '\0') << key;
        EXPECT_NE(saved.find("#PB_Compiler_EnumerationValue\r\n" + std::string(key) + "["), std::string::npos) << key;

        GdtList list;
        const SourceImport imported = importSourceFile(dir / "alt.pb", pool, list, 10);
        ASSERT_TRUE(imported.outcome.ok) << key;
        const bool syntax = key[0] != '\0' && key[23] == '1';
        // The line reading keeps the worked example's ")" and reports nothing.
        EXPECT_EQ(list.records().at(0).text, syntax ? "Weiter" : "Weiter)") << key;
        EXPECT_EQ(list.records()[0].flags, "0") << key;
        EXPECT_EQ(imported.report, syntax ? "Import: 1 Gadget gelesen." : "") << key;

        EXPECT_FALSE(importSourceFile(dir / "none.pb", pool, list, 10).outcome.ok);
        EXPECT_EQ(list.size(), 1);
    }
}

namespace {

// One line per gadget (texts shown as UTF-8) with its card and indent after
// "@", then the message.
std::string rendered(const Imported &in)
{
    std::string out;
    for (const GadgetRecord &r : in.list.records()) {
        std::string line = r.name + " " + r.varId + " @" + std::to_string(r.card) + ":" + std::to_string(r.tab) + " | " + std::to_string(r.x) + "," + std::to_string(r.y) + ","
            + std::to_string(r.xd) + "," + std::to_string(r.yd) + " | " + r.text + " | " + r.flags;
        for (std::size_t i = 0; i < 10; ++i)
            if (!r.p[i].empty())
                line += " | p" + std::to_string(i) + "=" + r.p[i];
        out += latin1ToUtf8(line) + "\n";
    }
    out += "--\n";
    for (char c : importReportMessage(in.report, 100))
        if (c != '\r')
            out.push_back(c);
    return out + "\n";
}

} // namespace

// Dialogs as people write them; the expected gadgets and message lie beside
// each source. The include regenerated from the gadgets reads back to the
// same gadgets with nothing left to report.
TEST(SyntaxImport, HandWrittenDialogs)
{
    const std::filesystem::path dir = std::filesystem::path(TAFELBAU_SOURCE_DIR) / "tests" / "data" / "import";
    int samples = 0;
    for (const auto &file : std::filesystem::directory_iterator(dir)) {
        if (file.path().extension() != ".pb")
            continue;
        ++samples;
        const Imported in = read(testutil::readFile(file.path()));
        std::filesystem::path expected = file.path();
        const std::string gadgets = rendered(in);
        if (const char *keep = std::getenv("TAFELBAU_KEEP_IMPORT_OUTPUT"))
            testutil::writeFile(std::filesystem::path(keep) / file.path().filename().replace_extension(".expected"),
                                gadgets);
        EXPECT_EQ(gadgets, testutil::readFile(expected.replace_extension(".expected"))) << file.path();

        // Read back into the list as it was saved: UTF-8 once it holds a
        // character beyond Latin-1.
        testutil::TempDir dirOut;
        ASSERT_TRUE(generateCodeFile(dirOut / "dialog.tbf", in.list, shippedPool().settings, 0).ok);
        Imported again;
        again.list.setEncoding(encodingToWrite(in.list));
        again.report = importSourceSyntax(testutil::readFile(dirOut / "dialog.pbi"), shippedPool(), again.list);
        const std::string gadgetsAgain = rendered(again);
        EXPECT_EQ(gadgetsAgain.substr(0, gadgetsAgain.find("--")), gadgets.substr(0, gadgets.find("--")))
            << file.path();
        EXPECT_TRUE(again.report.notes.empty()) << importReportMessage(again.report, 10);
    }
    EXPECT_EQ(samples, 11);
}

// The include Tafelbau writes, read into an empty list, gives back a list
// whose include is the same: every window and page on its card, every
// gadget on its parent's, indented by its depth. Only the VarIDs the code
// does not carry (a page's, a CloseGadgetList's) are made up anew. Lists of
// the shipped pool: the demo, the empty golden list, and what the sample
// dialogs import to. (The other golden list's templates are its own pool's,
// which reads no code.)
TEST(SyntaxImport, WrittenIncludesComeBackWithTheirStructure)
{
    const std::filesystem::path source = TAFELBAU_SOURCE_DIR;
    std::vector<std::pair<std::string, GdtList>> lists;
    for (const auto &path : {source / "examples" / "demo.tbf", source / "tests" / "data" / "golden" / "empty" / "list.tbf"}) {
        GdtList list;
        ASSERT_TRUE(loadListFile(path, list, frameColoursOf(shippedPool())).ok) << path;
        lists.emplace_back(path.string(), std::move(list));
    }
    for (const auto &file : std::filesystem::directory_iterator(source / "tests" / "data" / "import"))
        if (file.path().extension() == ".pb")
            lists.emplace_back(file.path().string(), read(testutil::readFile(file.path())).list);
    ASSERT_EQ(lists.size(), 13u);

    for (const auto &[name, original] : lists) {
        const std::string include = codeFileBytes(original, shippedPool().settings, 0);
        Imported in;
        in.list.setEncoding(original.encoding());
        in.report = importSourceSyntax(include, shippedPool(), in.list);
        EXPECT_TRUE(in.report.notes.empty()) << name << importReportMessage(in.report, 10);
        ASSERT_EQ(in.list.size(), original.size()) << name;
        for (std::size_t i = 0; i < original.records().size(); ++i) {
            const GadgetRecord &was = original.records()[i];
            GadgetRecord &now = in.list.records()[i];
            if (was.code.find("[id]") == std::string::npos)
                now.varId = was.varId;
            EXPECT_EQ(std::make_pair(now.card, now.tab), std::make_pair(was.card, was.tab)) << name << " " << was.varId;
        }
        EXPECT_EQ(codeFileBytes(in.list, shippedPool().settings, 0), include) << name;
    }
}
