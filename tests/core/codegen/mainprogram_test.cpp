#include "core/codegen/mainprogram.h"

#include "core/document/listfile.h"
#include "core/pool/programtemplates.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace tafelbau;

namespace {

GadgetRecord record(const std::string &id, const std::string &code, std::int8_t dontshow = 0)
{
    GadgetRecord r;
    r.varId = id;
    r.code = code;
    r.dontshow = dontshow;
    return r;
}

std::filesystem::path examples()
{
    return std::filesystem::path(TAFELBAU_SOURCE_DIR) / "examples";
}

} // namespace

// The rule for which records get a procedure, one row per way a template
// can be written.
TEST(MainProgram, EventSourceComesFromTheFunctionThatMakesTheConstant)
{
    const struct
    {
        const char *code;
        EventSource expected;
    } cases[] = {
        {"ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])", EventSource::Gadget},
        {"buttongadget( #[ID] ,1,2,3,4,\"\")", EventSource::Gadget}, // any letter case, blanks around
        {"CheckBoxGadget(#[id], 0, 0, 1, 1, \"\")", EventSource::Gadget},
        {"StringGadget(#[id], 0, 0, 1, 1, \"\")\r\nGadgetToolTip(#[id], \"x\")", EventSource::Gadget},
        {"CanvasGadget(#[id], 0, 0, 1, 1)", EventSource::Gadget},
        {"MenuItem(#[id], \"[text]\")", EventSource::MenuItem},
        {"ToolBarImageButton(#[id], ImageID(0))", EventSource::MenuItem},
        {"TextGadget(#[id], 0, 0, 1, 1, \"\")", EventSource::None},
        {"OpenWindow(#[id], 0, 0, 1, 1, \"\")", EventSource::None},
        {"PanelGadget(#[id], 0, 0, 1, 1)", EventSource::None},
        {"AddGadgetItem(#[p0], -1, \"[text]\")", EventSource::None},
        {"CloseGadgetList()", EventSource::None},
        // The constant is another's, or none: nothing for this record.
        {"ButtonGadget(#[p0], 0, 0, 1, 1, \"\")", EventSource::None},
        {"[id] = ButtonGadget(#PB_Any, 0, 0, 1, 1, \"\")", EventSource::None},
        {"ButtonGadget(#[id]Ok, 0, 0, 1, 1, \"\")", EventSource::None},
        // Not a call: in a comment, in a string, a procedure's definition.
        {"; ButtonGadget(#[id], 0, 0, 1, 1, \"\")", EventSource::None},
        {"Debug \"ButtonGadget(#[id], 1)\"", EventSource::None},
        {"Procedure ButtonGadget(#[id])", EventSource::None},
        // The first such call decides.
        {"MenuItem(#[id], \"a\") : ButtonGadget(#[id], 0, 0, 1, 1, \"\")", EventSource::MenuItem},
        {"", EventSource::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(eventSourceOf(record("G", c.code)), c.expected) << c.code;
    // A record that is not drawn has no constant to select on.
    EXPECT_EQ(eventSourceOf(record("G", "ButtonGadget(#[id], 0, 0, 1, 1, \"\")", 1)), EventSource::None);
}

// The sample dialog, as "Programm erzeugen" writes it beside the list.
TEST(MainProgram, SampleDialogMatchesItsGoldenFile)
{
    GdtList list;
    ASSERT_TRUE(loadListFile(examples() / "demo.tbf", list, [](std::string_view) { return 0u; }).ok);
    const std::string bytes = mainProgramBytes(list, PoolSettings{}, {"demo.tbf", "demo.pbi"});
    EXPECT_EQ(bytes, testutil::readFile(examples() / "demo_main.pb"));
}

TEST(MainProgram, PlaceholdersOfThePoolsTemplatesFilledOnce)
{
    GdtList list;
    list.append(record("Ok", "ButtonGadget(#[id], 0, 0, 1, 1, \"\")"));
    list.append(record("Label", "TextGadget(#[id], 0, 0, 1, 1, \"\")"));
    list.append(record("Quit", "MenuItem(#[id], \"Ende\")"));
    list.append(record("Name[id]", "StringGadget(#[id], 0, 0, 1, 1, \"\")"));
    PoolSettings s;
    s.mainProgram = "[LIST]|[Include]|[procedures]|[gadgetcases]|[menucases]|[id]|[unknown]";
    s.mainProcedure = "P([id]) ";
    s.mainCase = "C([Id]) ";
    EXPECT_EQ(mainProgramBytes(list, s, {"a [list].tbf", "sub/a.pbi"}),
              "a [list].tbf|sub/a.pbi|P(Ok) P(Quit) P(Name[id]) |C(Ok) C(Name[id]) |C(Quit) |[id]|[unknown]");
    // Alone on its line, a placeholder takes its line end along when it
    // stands for whole lines or for nothing; elsewhere the line end stays.
    s.mainProgram = "A\r\n[procedures]\r\n[menucases]\r\nx[gadgetcases]\r\n[list]\r\nB";
    s.mainProcedure = "P([id])\r\n";
    s.mainCase = "C\r\n";
    EXPECT_EQ(mainProgramBytes(list, s, {"L", ""}), "A\r\nP(Ok)\r\nP(Quit)\r\nP(Name[id])\r\nC\r\nxC\r\nC\r\n\r\nL\r\nB");
    s.mainProgram = "[menucases]\r\n[gadgetcases]";
    EXPECT_EQ(mainProgramBytes(GdtList{}, s, {}), "");

    // Unset templates are the built-in ones, and only the changed one is set.
    PoolSettings own;
    ProgramTemplates t = builtInProgramTemplates();
    EXPECT_FALSE(setProgramTemplates(own, t));
    t.eventCase = "x";
    EXPECT_TRUE(setProgramTemplates(own, t));
    EXPECT_FALSE(own.mainProgram || own.mainProcedure);
    EXPECT_EQ(own.mainCase, "x");
    EXPECT_EQ(programTemplates(own), t);
}

TEST(MainProgram, PathsBesideTheList)
{
    EXPECT_EQ(defaultMainProgramPath("/d/demo.tbf"), "/d/demo_main.pb");
    EXPECT_EQ(defaultMainProgramPath("/d/dlg"), "/d/dlg_main.pb");
    EXPECT_EQ(defaultMainProgramPath("/d/a.b.tbf"), "/d/a.b_main.pb");
    EXPECT_EQ(pathFrom("/d", "/d/demo.pbi"), "demo.pbi");
    EXPECT_EQ(pathFrom("/tmp/run", "/home/u/demo.pbi"), "../../home/u/demo.pbi");
}

TEST(MainProgram, NewFileNeverWritesOverOne)
{
    testutil::TempDir dir;
    const auto path = dir / "demo_main.pb";
    EXPECT_EQ(writeNewFile(path, "first"), NewFile::Written);
    EXPECT_EQ(writeNewFile(path, "second"), NewFile::Exists);
    EXPECT_EQ(testutil::readFile(path), "first");
    EXPECT_EQ(writeNewFile(dir / "missing" / "x.pb", "x"), NewFile::Failed);
    EXPECT_NE(mainProgramExistsMessage(path).find(path.string()), std::string::npos);
}
