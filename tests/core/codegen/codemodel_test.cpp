#include "core/codegen/codemodel.h"

#include "core/codegen/codefile.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace tafelbau;

namespace {

PoolSettings defaults()
{
    PoolSettings s;
    s.codeFileExt = ".pbi";
    s.codeComment = ";";
    return s;
}

GadgetRecord gadget(const std::string &id, int x, int tab = 0)
{
    GadgetRecord r;
    r.varId = id, r.x = x, r.y = 7, r.xd = 80, r.yd = 25, r.tab = tab, r.text = "Text " + id;
    r.code = "; [id]\r\nButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")\r\nGadgetToolTip(#[id], \"[p0]\")";
    return r;
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    return lines;
}

void applyEdits(std::vector<std::string> &lines, const std::vector<CodeLineEdit> &edits)
{
    for (const CodeLineEdit &e : edits) {
        ASSERT_GE(e.first, 0);
        ASSERT_LE(e.first + e.removed, static_cast<int>(lines.size()));
        lines.erase(lines.begin() + e.first, lines.begin() + e.first + e.removed);
        lines.insert(lines.begin() + e.first, e.lines.begin(), e.lines.end());
    }
}

int touchedLines(const std::vector<CodeLineEdit> &edits)
{
    int n = 0;
    for (const CodeLineEdit &e : edits)
        n += e.removed + static_cast<int>(e.lines.size());
    return n;
}

void insertAt(GdtList &list, int index, GadgetRecord r)
{
    list.setCurrentIndex(index - 1);
    list.insertAfterCurrent(std::move(r));
}

void removeAt(GdtList &list, int index)
{
    list.setCurrentIndex(index);
    list.removeCurrent();
}

void moveTo(GdtList &list, int from, int to)
{
    const int step = from < to ? 1 : -1;
    for (int i = from; i != to; i += step)
        std::swap(list.records()[static_cast<std::size_t>(i)], list.records()[static_cast<std::size_t>(i + step)]);
}

} // namespace

// One list edited step after step, as the window's commands would: after each
// step the model holds the code file's bytes, its edits turn the text before
// into the text after, and they touch no more lines than the step changed.
TEST(CodeModel, FollowsEveryKindOfEditWithEditsOfItsSize)
{
    struct Step
    {
        const char *what;
        std::function<void(GdtList &, PoolSettings &, std::time_t &)> edit;
        int maxTouched; ///< removed + inserted lines at most
    };
    const Step steps[] = {
        {"nothing", [](GdtList &, PoolSettings &, std::time_t &) {}, 0},
        {"key move", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[3].x += 5; }, 2},
        {"insert", [](GdtList &l, PoolSettings &, std::time_t &) { insertAt(l, 2, gadget("New", 1)); }, 4},
        {"delete", [](GdtList &l, PoolSettings &, std::time_t &) { removeAt(l, 5); }, 4},
        {"move up", [](GdtList &l, PoolSettings &, std::time_t &) { moveTo(l, 4, 3); }, 8},
        {"to the end", [](GdtList &l, PoolSettings &, std::time_t &) { moveTo(l, 0, l.size() - 1); }, 8},
        {"to the front", [](GdtList &l, PoolSettings &, std::time_t &) { moveTo(l, l.size() - 1, 0); }, 8},
        {"tool tip", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[3].p[0] = "Tipp"; }, 2},
        {"rename", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[1].varId = "Renamed"; }, 8},
        {"dontshow", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[2].dontshow = 1; }, 1},
        {"shown again", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[2].dontshow = 0; }, 1},
        {"tab", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[4].tab = 2; }, 6},
        {"two apart", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[0].y = 1, l.records()[6].y = 1; },
         4},
        {"paste three at the end",
         [](GdtList &l, PoolSettings &, std::time_t &) {
             for (const char *id : {"P1", "P2", "P3"})
                 insertAt(l, l.size(), gadget(id, 3));
         },
         12},
        {"swap far apart",
         [](GdtList &l, PoolSettings &, std::time_t &) { std::swap(l.records()[1], l.records()[7]); }, 16},
        {"reverse",
         [](GdtList &l, PoolSettings &, std::time_t &) {
             for (int i = 0, j = l.size() - 1; i < j; ++i, --j)
                 std::swap(l.records()[static_cast<std::size_t>(i)], l.records()[static_cast<std::size_t>(j)]);
         },
         96}, // twelve of thirteen records out and in again, four lines each: a rewrite would be 158
        {"minute later", [](GdtList &, PoolSettings &, std::time_t &t) { t += 60; }, 2},
        {"comment marker", [](GdtList &, PoolSettings &s, std::time_t &) { s.codeComment = "//"; }, 4},
        {"line breaks in values",
         [](GdtList &l, PoolSettings &, std::time_t &) {
             l.records()[2].text = "a\rb\nc\r\nd";
             l.records()[3].varId = "Id\r\nwith break\r";
             l.records()[4].code += "\r\n";
         },
         16},
        {"template emptied", [](GdtList &l, PoolSettings &, std::time_t &) { l.records()[5].code.clear(); }, 4},
        {"delete all but one",
         [](GdtList &l, PoolSettings &, std::time_t &) {
             while (l.size() > 1)
                 removeAt(l, 0);
         },
         52}, // just the lines of the deleted records
        {"empty", [](GdtList &l, PoolSettings &, std::time_t &) { removeAt(l, 0); }, 20},
        {"refilled",
         [](GdtList &l, PoolSettings &, std::time_t &) {
             for (int i = 0; i < 4; ++i)
                 insertAt(l, l.size(), gadget("R" + std::to_string(i), i));
         },
         16},
    };

    GdtList list;
    for (int i = 0; i < 10; ++i)
        list.append(gadget("G" + std::to_string(i), 10 * i, i % 2));
    PoolSettings settings = defaults();
    std::time_t when = 1'800'000'000;
    CodeModel model;
    const auto first = model.update(list, settings, when);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].first, 0);
    EXPECT_EQ(first[0].removed, 0);
    EXPECT_EQ(model.text(), codeFileBytes(list, settings, when));
    std::vector<std::string> lines = splitLines(model.text());

    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        step.edit(list, settings, when);
        const auto edits = model.update(list, settings, when);
        const std::string expected = codeFileBytes(list, settings, when);
        ASSERT_EQ(model.text(), expected);
        EXPECT_EQ(model.lineCount(), static_cast<int>(splitLines(expected).size()));
        applyEdits(lines, edits);
        EXPECT_EQ(lines, splitLines(expected));
        EXPECT_LE(touchedLines(edits), step.maxTouched);
    }
}

// A click finds the record of any line of its constant or block; the lines
// of the header and around the enumeration belong to none.
TEST(CodeModel, LinesAndRecordsFindEachOther)
{
    GdtList list;
    list.append(gadget("A", 1));
    list.append(gadget("Hidden", 2)).dontshow = 1;
    list.append(gadget("C", 3, 1)).code = "one line";
    CodeModel model;
    model.update(list, defaults(), 0);

    std::vector<int> owner(static_cast<std::size_t>(model.lineCount()), 0);
    for (const GadgetRecord &r : list.records())
        for (const LineSpan span : {model.enumerationLines(r.lvid), model.blockLines(r.lvid)})
            for (int line = span.first; line < span.first + span.count; ++line)
                owner[static_cast<std::size_t>(line)] = r.lvid;
    for (int line = 0; line < model.lineCount(); ++line)
        EXPECT_EQ(model.recordAtLine(line).value_or(0), owner[static_cast<std::size_t>(line)]) << line;

    const auto lines = splitLines(model.text());
    EXPECT_EQ(lines[static_cast<std::size_t>(model.enumerationLines(list.records()[2].lvid).first)], "\t#C");
    EXPECT_EQ(model.enumerationLines(list.records()[1].lvid).count, 0);
    EXPECT_EQ(model.blockLines(list.records()[1].lvid), (LineSpan{32, 3})); // 24 + 2 constants + 3 + A's 3
    EXPECT_EQ(lines[static_cast<std::size_t>(model.blockLines(list.records()[2].lvid).first)], "\tone line");
    EXPECT_EQ(model.blockLines(999).count, 0);
    EXPECT_FALSE(model.recordAtLine(-1));
    EXPECT_FALSE(model.recordAtLine(model.lineCount()));
}

// Two records with one lvid (a list the program did not make) must not make
// one of them vanish from the text.
TEST(CodeModel, RepeatedLvidKeepsBothRecords)
{
    GdtList list;
    list.append(gadget("A", 1));
    list.append(gadget("B", 2));
    CodeModel model;
    model.update(list, defaults(), 0);
    std::vector<std::string> lines = splitLines(model.text());
    list.records()[1].lvid = list.records()[0].lvid;
    std::swap(list.records()[0], list.records()[1]);
    list.records()[0].x = 9;
    applyEdits(lines, model.update(list, defaults(), 0));
    EXPECT_EQ(model.text(), codeFileBytes(list, defaults(), 0));
    EXPECT_EQ(lines, splitLines(model.text()));
}

// The lines marked for a selection are the lines its records own, each run
// of them one span: a thousand selected neighbours are two marks, not two
// thousand.
TEST(CodeModel, SelectedLinesAreTheRunsOfLinesTheSelectedRecordsOwn)
{
    GdtList list;
    for (const char *id : {"A", "Hidden", "C", "D", "E"})
        list.append(gadget(id, 1));
    list.records()[1].dontshow = 1; // no constant
    CodeModel model;
    model.update(list, defaults(), 0);

    for (const char *mask : {"00000", "10000", "11000", "10110", "01001", "11111", "00011"}) {
        for (std::size_t i = 0; i < 5; ++i)
            list.records()[i].selected = mask[i] == '1';
        std::vector<bool> owned(static_cast<std::size_t>(model.lineCount()), false);
        for (const GadgetRecord &r : list.records())
            for (const LineSpan span : {model.enumerationLines(r.lvid), model.blockLines(r.lvid)})
                for (int line = span.first; line < span.first + span.count; ++line)
                    owned[static_cast<std::size_t>(line)] = r.selected;
        std::vector<LineSpan> runs;
        for (int line = 0; line < model.lineCount(); ++line) {
            if (!owned[static_cast<std::size_t>(line)])
                continue;
            if (!runs.empty() && runs.back().first + runs.back().count == line)
                ++runs.back().count;
            else
                runs.push_back({line, 1});
        }
        EXPECT_EQ(model.selectedLines(list), runs) << mask;
    }
    for (std::size_t i = 0; i < 5; ++i)
        list.records()[i].selected = i < 2;
    const LineSpan a = model.blockLines(list.records()[0].lvid);
    EXPECT_EQ(model.selectedLines(list),
              (std::vector<LineSpan>{model.enumerationLines(list.records()[0].lvid),
                                     {a.first, a.count + model.blockLines(list.records()[1].lvid).count}}));
}
