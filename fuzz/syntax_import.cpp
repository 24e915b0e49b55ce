// The import that reads PureBasic source as statements. The input is the
// source, read with a small pool whose masks cover every kind of value.
//
// Beyond not crashing: one record per gadget counted, identifiers unique
// and never empty, notes only on lines the source has, and no gadget from a
// comment or a string -- blanking the inside of every comment and string
// (found by a plain pass of its own here) leaves the same gadgets.
#include "fuzzutil.h"

#include "core/codegen/syntaximport.h"

#include <cstdint>
#include <unordered_set>

using namespace tafelbau;

namespace {

const GdtPool &fuzzPool()
{
    static const GdtPool pool = [] {
        GdtPool p;
        p.settings.crSep = "\"+#CRLF$+\"";
        p.settings.importSyntax = true;
        const struct
        {
            const char *name, *code, *mask;
        } entries[] = {
            {"ButtonGadget", "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])",
             "ButtonGadget(#[id],[x],[y],[xd],[yd],[text],[flags]"},
            {"Item", "AddGadgetItem(#[p0], -1, \"[text]\")", "AddGadgetItem(#[p0],[skip],[text]"},
            {"Splitter", "SplitterGadget(#[id], [x], [y], [xd], [yd], [p0], \"[p1]\")",
             "SplitterGadget([id],[x],[y],[xd],[yd],[p0],[p1],[id]"},
            {"Close", "CloseGadgetList()", "CloseGadgetList("},
            {"Sep", "Tab([text];[x])", "Tab$ ([text];[x]"},
            {"NoCall", "x", "Frame[id]"},
        };
        for (const auto &e : entries) {
            PoolEntry pe;
            pe.name = e.name;
            pe.code = e.code;
            pe.importcode = e.mask;
            pe.p[0] = "Ziel";
            if (pe.name == "Sep")
                pe.importwerttrenn = ";";
            p.entries.push_back(pe);
        }
        return p;
    }();
    return pool;
}

// Comments, strings and character constants keep their delimiters and line
// breaks; everything inside them becomes a blank.
std::string blankedInside(std::string_view s)
{
    std::string out(s);
    const std::size_t n = s.size();
    auto isBreak = [&](std::size_t i) { return s[i] == '\r' || s[i] == '\n'; };
    for (std::size_t i = 0; i < n;) {
        const char c = s[i];
        if (c == ';') {
            for (++i; i < n && !isBreak(i); ++i)
                out[i] = ' ';
        } else if (c == '"' || c == '\'' || (c == '~' && i + 1 < n && s[i + 1] == '"')) {
            const bool escaped = c == '~';
            const char close = escaped ? '"' : c;
            i += escaped ? 2 : 1;
            while (i < n && s[i] != close && !isBreak(i)) {
                const std::size_t step = (escaped && s[i] == '\\' && i + 1 < n && !isBreak(i + 1)) ? 2 : 1;
                for (std::size_t k = 0; k < step; ++k)
                    out[i + k] = ' ';
                i += step;
            }
            if (i < n && s[i] == close)
                ++i;
        } else {
            ++i;
        }
    }
    return out;
}

std::vector<std::string> gadgets(const GdtList &list)
{
    std::vector<std::string> out;
    for (const GadgetRecord &r : list.records())
        out.push_back(r.name + " " + r.varId);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view source(reinterpret_cast<const char *>(data), size);
    const GdtPool &pool = fuzzPool();
    GdtList list;
    GadgetRecord existing;
    existing.varId = "ButtonGadget";
    existing.name = "ButtonGadget";
    list.append(existing);
    const ImportReport report = importSourceSyntax(source, pool, list);
    FUZZ_CHECK(report.gadgets >= 0 && list.size() == 1 + report.gadgets);

    std::unordered_set<std::string> ids;
    for (const GadgetRecord &r : list.records()) {
        FUZZ_CHECK(!r.varId.empty());
        FUZZ_CHECK(ids.insert(r.varId).second);
        FUZZ_CHECK(pool.find(r.name) != nullptr && r.name != "NoCall");
    }
    std::size_t lines = 1;
    for (std::size_t i = 0; i < size; ++i)
        if (source[i] == '\n' || (source[i] == '\r' && (i + 1 == size || source[i + 1] != '\n')))
            ++lines;
    for (const ImportNote &n : report.notes)
        FUZZ_CHECK(n.line >= 1 && n.line <= lines);

    GdtList blanked;
    blanked.append(existing);
    importSourceSyntax(blankedInside(source), pool, blanked);
    FUZZ_CHECK(gadgets(blanked) == gadgets(list));

    (void)importReportMessage(report, 30);
    return 0;
}
