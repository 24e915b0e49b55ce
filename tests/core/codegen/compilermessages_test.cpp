#include "core/codegen/compilermessages.h"

#include "core/codegen/codemodel.h"
#include "core/codegen/purebasiccompiler.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tafelbau;

namespace {

void writeExecutable(const std::filesystem::path &path, bool executable = true)
{
    std::filesystem::create_directories(path.parent_path());
    testutil::writeFile(path, "#!/bin/sh\n");
    ::chmod(path.c_str(), executable ? 0755 : 0644);
}

GadgetRecord record(const std::string &id, const std::string &code)
{
    GadgetRecord r;
    r.varId = id;
    r.code = code;
    return r;
}

} // namespace

TEST(CompilerMessages, LinesAndTheFilesTheyName)
{
    const struct
    {
        const char *output;
        std::vector<CompilerMessage> expected;
    } cases[] = {
        {"", {}},
        {"PureBasic 6.10\r\n\r\nStarting compilation...\n", {{"PureBasic 6.10", "", 0}, {"Starting compilation...", "", 0}}},
        {"Error: Line 12 - Syntax error.", {{"Error: Line 12 - Syntax error.", "", 12}}},
        {"Error: in included file 'demo.pbi'\nLine 27 - Syntax error.\n",
         {{"Error: in included file 'demo.pbi'", "demo.pbi", 0}, {"Line 27 - Syntax error.", "demo.pbi", 27}}},
        {"Error: in included file '/d/x.pbi'\rError: Line 3 - x\r",
         {{"Error: in included file '/d/x.pbi'", "/d/x.pbi", 0}, {"Error: Line 3 - x", "/d/x.pbi", 3}}},
        // The include named once is not the file of a later error.
        {"Error: in included file 'a.pbi'\nLine 2 - a\nError: Line 5 - b",
         {{"Error: in included file 'a.pbi'", "a.pbi", 0}, {"Line 2 - a", "a.pbi", 2}, {"Error: Line 5 - b", "", 5}}},
        {"Error: in included file 'a.pbi'\nError: Other\nLine 4 - main",
         {{"Error: in included file 'a.pbi'", "a.pbi", 0}, {"Error: Other", "", 0}, {"Line 4 - main", "", 4}}},
        // Not a line number: words that only start alike, no digits, absurd numbers.
        {"Lines 4\nLine x\nLine 99999999999999 - y\nWarning: Line 3",
         {{"Lines 4", "", 0}, {"Line x", "", 0}, {"Line 99999999999999 - y", "", 0}, {"Warning: Line 3", "", 0}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseCompilerOutput(c.output), c.expected) << c.output;
}

TEST(CompilerMessages, LineOfTheIncludeSelectsTheGadgetWhoseCodeHoldsIt)
{
    GdtList list;
    list.append(record("Win", "OpenWindow(#[id], 0, 0, 1, 1, \"\")"));
    list.append(record("Ok", "ButtonGadget(#[id], 0, 0, 1, 1, \"\")\r\nGadgetToolTip(#[id], \"\")"));
    CodeModel model;
    model.update(list, PoolSettings{}, 0);
    const int okFirst = model.blockLines(list.records()[1].lvid).first + 1; // 1-based, as the compiler counts
    const std::vector<CompilerMessage> messages = {
        {"a", "dlg.pbi", okFirst + 1},         // the tool tip's line: the button's code
        {"b", "/d/dlg.pbi", okFirst - 1},      // the window's line, named with its full path
        {"c", "dlg.pbi", 1},                   // the header
        {"d", "", okFirst},                    // a line of the main program
        {"e", "other.pbi", okFirst},           // another include
        {"f", "dlg.pbi", model.lineCount() + 5}, // past the end
    };
    const auto gadgets = gadgetsOfMessages(messages, "/d/dlg.pbi", "/d", list, PoolSettings{});
    const std::vector<std::optional<std::int32_t>> expected = {list.records()[1].lvid, list.records()[0].lvid,
                                                                std::nullopt, std::nullopt, std::nullopt,
                                                                std::nullopt};
    EXPECT_EQ(gadgets, expected);
    // Compiled from a temporary folder: the bare name is still the code file,
    // a path from there is not.
    const std::vector<CompilerMessage> elsewhere = {{"a", "dlg.pbi", okFirst}, {"b", "sub/dlg.pbi", okFirst}};
    EXPECT_EQ(gadgetsOfMessages(elsewhere, "/d/dlg.pbi", "/tmp/run", list, PoolSettings{}),
              (std::vector<std::optional<std::int32_t>>{list.records()[1].lvid, std::nullopt}));
}

TEST(PureBasicCompiler, FoundInItsHomeElseOnThePath)
{
    testutil::TempDir dir;
    const auto home = dir / "purebasic";
    const auto inHome = home / "compilers" / "pbcompiler";
    const auto onPath = dir / "bin" / "pbcompiler";
    const auto notExecutable = dir / "plain" / "pbcompiler";
    writeExecutable(inHome);
    writeExecutable(onPath);
    writeExecutable(notExecutable, false);
    std::filesystem::create_directories(dir / "empty");
    const std::string bin = (dir / "bin").string(), plain = (dir / "plain").string(),
                      empty = (dir / "empty").string();

    EXPECT_EQ(findPureBasicCompiler({home.string(), bin}), inHome);
    EXPECT_EQ(findPureBasicCompiler({std::nullopt, empty + ":" + plain + ":" + bin}), onPath);
    // A home without the compiler falls back to PATH; an empty one counts as unset.
    EXPECT_EQ(findPureBasicCompiler({empty, bin}), onPath);
    EXPECT_EQ(findPureBasicCompiler({std::string(), bin}), onPath);
    EXPECT_EQ(findPureBasicCompiler({std::nullopt, empty + "::" + plain}), std::nullopt);
    // A relative folder on PATH, or an empty home, would depend on where the
    // program was started: passed over even where they hold a compiler.
    const auto started = std::filesystem::current_path();
    std::filesystem::current_path(home);
    EXPECT_EQ(findPureBasicCompiler({std::string(), "compilers:" + empty}), std::nullopt);
    std::filesystem::current_path(started);

    // Where it looked, in one message.
    const std::string unset = compilerMissingMessage({std::nullopt, empty});
    EXPECT_NE(unset.find("PUREBASIC_HOME ist nicht gesetzt"), std::string::npos);
    EXPECT_NE(unset.find("PATH"), std::string::npos);
    EXPECT_NE(compilerMissingMessage({home.string(), empty}).find(inHome.string()), std::string::npos);

    // The compiler's libraries are found through its home.
    EXPECT_EQ(homeForCompiler({std::nullopt, bin}, inHome), home);
    EXPECT_EQ(homeForCompiler({home.string(), bin}, inHome), std::nullopt);
    EXPECT_EQ(homeForCompiler({std::nullopt, bin}, onPath), std::nullopt);
    EXPECT_EQ(compilerArguments("/d/a_main.pb", "/t/a"), (std::vector<std::string>{"-e", "/t/a", "/d/a_main.pb"}));
}
