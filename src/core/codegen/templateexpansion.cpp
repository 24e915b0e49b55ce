#include "core/codegen/templateexpansion.h"

#include "core/document/latin1.h"

#include <algorithm>
#include <cstring>

namespace tafelbau {

namespace {

// Replaces every case-insensitive occurrence of `placeholder` (lower case,
// starting with "[") in `s`, left to right, without rescanning what it
// inserted. Returns false when nothing matched, leaving `s` untouched.
bool substitute(std::string &s, std::string &scratch, std::string_view placeholder, std::string_view value)
{
    const std::size_t n = s.size();
    const std::size_t m = placeholder.size();
    const char *data = s.data();
    std::size_t scan = 0;   // where the search for the next "[" goes on
    std::size_t copied = 0; // bytes of s already carried over to scratch
    bool any = false;
    while (scan < n) {
        const void *hit = std::memchr(data + scan, '[', n - scan);
        if (!hit)
            break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char *>(hit) - data);
        if (n - at >= m && equalsFolded(std::string_view(data + at, m), placeholder)) {
            if (!any) {
                scratch.clear();
                scratch.reserve(n + value.size() + 16);
                any = true;
            }
            scratch.append(data + copied, at - copied);
            scratch.append(value);
            copied = scan = at + m;
        } else {
            scan = at + 1;
        }
    }
    if (!any)
        return false;
    scratch.append(data + copied, n - copied);
    s.swap(scratch);
    return true;
}

std::string scaled(std::int32_t v)
{
    return numberText(v) + "*GTBScale";
}

// Which placeholder starts at `at`, or -1: 0 id, 1 text, 2 x, 3 y, 4 xd,
// 5 yd, 6 flags, 7..16 p0..p9. Looks only at the few bytes that can match.
int placeholderAt(std::string_view s, std::size_t at)
{
    const std::size_t left = s.size() - at;
    if (left < 3)
        return -1;
    const char *p = s.data() + at + 1;
    const char c = foldAscii(p[0]);
    const auto closes = [&](std::size_t i) { return left > i + 1 && p[i] == ']'; };
    switch (c) {
    case 'x':
    case 'y': {
        const int base = c == 'x' ? 2 : 3;
        if (p[1] == ']')
            return base;
        return (foldAscii(p[1]) == 'd' && closes(2)) ? base + 2 : -1;
    }
    case 'i': return (foldAscii(p[1]) == 'd' && closes(2)) ? 0 : -1;
    case 'p': return (p[1] >= '0' && p[1] <= '9' && closes(2)) ? 7 + (p[1] - '0') : -1;
    case 't': return (left >= 6 && equalsFolded(std::string_view(p, 5), "text]")) ? 1 : -1;
    case 'f': return (left >= 7 && equalsFolded(std::string_view(p, 6), "flags]")) ? 6 : -1;
    default: return -1;
    }
}

// find_first_of would call memchr once per byte; this runs for every value.
std::size_t findBracket(std::string_view v, std::size_t from = 0)
{
    for (std::size_t i = from; i < v.size(); ++i)
        if (v[i] == '[' || v[i] == ']')
            return i;
    return std::string_view::npos;
}

bool hasBracket(std::string_view v)
{
    return findBracket(v) != std::string_view::npos;
}

// The placeholders are replaced one kind after the other, and a value put in
// by an earlier kind is looked at again by the later ones. Replacing all of
// them in one left-to-right pass gives the same bytes whenever no value
// holds a bracket (so none can bring in or complete a placeholder) and no
// stray "[" of the template runs into a placeholder (as in "[p[id]]", where
// the id could complete "[p1]").
bool canExpandInOnePass(std::string_view s, const GadgetRecord &r)
{
    if (hasBracket(r.varId) || hasBracket(r.text) || hasBracket(r.flags))
        return false;
    for (const std::string &v : r.p)
        if (hasBracket(v))
            return false;
    for (std::size_t at = s.find('['); at != std::string_view::npos; at = s.find('[', at + 1)) {
        if (placeholderAt(s, at) >= 0)
            continue;
        const std::size_t next = findBracket(s, at + 1);
        if (next != std::string_view::npos && s[next] == '[' && placeholderAt(s, next) >= 0)
            return false;
    }
    return true;
}

void expandInOnePass(std::string_view s, const GadgetRecord &r, std::string &out)
{
    std::size_t copied = 0;
    for (std::size_t at = s.find('['); at != std::string_view::npos; at = s.find('[', at)) {
        const int which = placeholderAt(s, at);
        if (which < 0) {
            ++at;
            continue;
        }
        out.append(s, copied, at - copied);
        switch (which) {
        case 0: out.append(r.varId); break;
        case 1: out.append(r.text); break;
        case 2: out.append(numberText(r.x)).append("*GTBScale"); break;
        case 3: out.append(numberText(r.y)).append("*GTBScale"); break;
        case 4: out.append(numberText(r.xd)).append("*GTBScale"); break;
        case 5: out.append(numberText(r.yd)).append("*GTBScale"); break;
        case 6: out.append(r.flags); break;
        default: out.append(r.p[static_cast<std::size_t>(which - 7)]); break;
        }
        const std::size_t len = which == 1 ? 6 : which == 6 ? 7 : (which == 2 || which == 3) ? 3 : 4;
        at += len;
        copied = at;
    }
    out.append(s, copied, std::string_view::npos);
}

} // namespace

void appendExpandedTemplate(const GadgetRecord &record, std::string &out)
{
    const std::int32_t tabs = std::clamp(record.tab, 0, kMaxExpandedTab);
    std::string s;
    if (tabs == 0) {
        s = record.code;
    } else {
        // The same bytes as `tab` passes of "CR LF -> CR LF tab, tab in front".
        const std::string indent(static_cast<std::size_t>(tabs), '\t');
        s.reserve(record.code.size() + indent.size() * 4);
        s = indent;
        const std::string &c = record.code;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t hit = c.find("\r\n", pos);
            if (hit == std::string::npos)
                break;
            s.append(c, pos, hit + 2 - pos);
            s.append(indent);
            pos = hit + 2;
        }
        s.append(c, pos, std::string::npos);
    }

    if (s.find('[') == std::string::npos) {
        out.append(s);
        return;
    }
    if (canExpandInOnePass(s, record)) {
        expandInOnePass(s, record, out);
        return;
    }
    std::string scratch;
    static constexpr std::string_view kParams[10] = {"[p0]", "[p1]", "[p2]", "[p3]", "[p4]",
                                                     "[p5]", "[p6]", "[p7]", "[p8]", "[p9]"};
    const std::string_view steps[7] = {"[id]", "[text]", "[x]", "[y]", "[xd]", "[yd]", "[flags]"};
    for (int step = 0; step < 17; ++step) {
        // A text without "[" holds no placeholder, and no later step can
        // bring one in, so the rest of the steps would change nothing.
        if (s.find('[') == std::string::npos)
            break;
        switch (step) {
        case 0: substitute(s, scratch, steps[0], record.varId); break;
        case 1: substitute(s, scratch, steps[1], record.text); break;
        case 2: substitute(s, scratch, steps[2], scaled(record.x)); break;
        case 3: substitute(s, scratch, steps[3], scaled(record.y)); break;
        case 4: substitute(s, scratch, steps[4], scaled(record.xd)); break;
        case 5: substitute(s, scratch, steps[5], scaled(record.yd)); break;
        case 6: substitute(s, scratch, steps[6], record.flags); break;
        default: {
            const std::size_t i = static_cast<std::size_t>(step - 7);
            substitute(s, scratch, kParams[i], record.p[i]);
        }
        }
    }
    out.append(s);
}

std::string expandTemplate(const GadgetRecord &record)
{
    std::string out;
    appendExpandedTemplate(record, out);
    return out;
}

} // namespace tafelbau
