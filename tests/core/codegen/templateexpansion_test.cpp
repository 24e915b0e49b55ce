#include "core/codegen/templateexpansion.h"

#include "core/document/latin1.h"

#include <gtest/gtest.h>

using namespace tafelbau;

namespace {

GadgetRecord record(std::string code, std::int32_t tab = 0)
{
    GadgetRecord r;
    r.code = std::move(code);
    r.tab = tab;
    r.varId = "Ok", r.text = "Weiter", r.flags = "#PB_Button_Default";
    r.x = 10, r.y = -3, r.xd = 80, r.yd = 0;
    for (int i = 0; i < 10; ++i)
        r.p[static_cast<std::size_t>(i)] = "v" + std::to_string(i);
    return r;
}

} // namespace

TEST(TemplateExpansion, Placeholders)
{
    const std::pair<const char *, const char *> cases[] = {
        {"ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])",
         "ButtonGadget(#Ok, 10*GTBScale, -3*GTBScale, 80*GTBScale, 0*GTBScale, \"Weiter\", #PB_Button_Default)"},
        {"[ID][Text][X][yD][FLAGS][P9]", "OkWeiter10*GTBScale0*GTBScale#PB_Button_Defaultv9"},
        {"[p0][p5][p10][z][", "v0v5[p10][z]["},
        {"[[id]x]", "[Okx]"},
        {"", ""},
    };
    for (const auto &[code, expected] : cases)
        EXPECT_EQ(expandTemplate(record(code)), expected) << code;
}

TEST(TemplateExpansion, OrderDecidesWhatInsertedValuesBecome)
{
    GadgetRecord r = record("[text] / [id] / [flags]");
    r.text = "at [x]";     // expanded by a later step
    r.varId = "id[p3]";    // likewise
    r.flags = "keep [id]"; // a later step's value is not looked at again
    EXPECT_EQ(expandTemplate(r), "at 10*GTBScale / idv3 / keep [id]");

    // A placeholder formed across an inserted value and the template.
    r = record("[[id]x]");
    r.varId = "";
    EXPECT_EQ(expandTemplate(r), "10*GTBScale");
}

TEST(TemplateExpansion, Indentation)
{
    const std::tuple<const char *, std::int32_t, const char *> cases[] = {
        {"A\r\nB", 0, "A\r\nB"},   {"A\r\nB", 2, "\t\tA\r\n\t\tB"}, {"", 1, "\t"},
        {"A\r\n", 1, "\tA\r\n\t"}, {"A\nB\rC", 1, "\tA\nB\rC"}, // only CR LF pairs are line breaks here
        {"A\r\nB", -4, "A\r\nB"},                               // a negative level counts as 0
    };
    for (const auto &[code, tab, expected] : cases)
        EXPECT_EQ(expandTemplate(record(code, tab)), expected) << code << " tab " << tab;

    GadgetRecord r = record("[text]\r\nx", 1);
    r.text = "a\r\nb"; // line breaks inside values are not indented
    EXPECT_EQ(expandTemplate(r), "\ta\r\nb\r\n\tx");
    // A huge level is bounded.
    EXPECT_EQ(expandTemplate(record("A", 2000000000)).size(), static_cast<std::size_t>(kMaxExpandedTab) + 1);
}

namespace {

// The rule as written: the placeholders one kind after the other, each kind
// replaced left to right without looking at what it just put in.
std::string stepwise(const GadgetRecord &r)
{
    std::string s = r.code;
    auto step = [&](std::string_view ph, const std::string &value) {
        std::string out;
        std::size_t i = 0;
        while (i < s.size()) {
            if (s.size() - i >= ph.size() && equalsFolded(std::string_view(s).substr(i, ph.size()), ph)) {
                out += value;
                i += ph.size();
            } else {
                out += s[i++];
            }
        }
        s = out;
    };
    step("[id]", r.varId);
    step("[text]", r.text);
    step("[x]", std::to_string(r.x) + "*GTBScale");
    step("[y]", std::to_string(r.y) + "*GTBScale");
    step("[xd]", std::to_string(r.xd) + "*GTBScale");
    step("[yd]", std::to_string(r.yd) + "*GTBScale");
    step("[flags]", r.flags);
    for (int i = 0; i < 10; ++i)
        step("[p" + std::to_string(i) + "]", r.p[static_cast<std::size_t>(i)]);
    return s;
}

} // namespace

TEST(TemplateExpansion, AgreesWithTheStepwiseRuleOnRandomTemplates)
{
    const char *pieces[] = {"[", "]", "id", "ID", "x",   "Xd",   "y",    "yd",     "text", "flags",
                            "p", "1", "9",  " ",  "[x]", "[id]", "[p1]", "[text]", "\r\n"};
    const char *values[] = {"", "v", "[", "]", "[x]", "p1", "[p", "1]", "id"};
    std::uint32_t seed = 7;
    auto next = [&](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 20000; ++round) {
        GadgetRecord r;
        const std::uint32_t len = next(12);
        for (std::uint32_t i = 0; i < len; ++i)
            r.code += pieces[next(sizeof pieces / sizeof *pieces)];
        r.varId = values[next(9)], r.text = values[next(9)], r.flags = values[next(9)];
        r.p[1] = values[next(9)], r.p[9] = values[next(9)], r.x = static_cast<std::int32_t>(next(200)) - 100;
        ASSERT_EQ(expandTemplate(r), stepwise(r)) << "template " << r.code << " id " << r.varId << " text " << r.text;
    }
}
