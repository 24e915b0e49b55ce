// Template expansion of a record built from the input, compared with the
// plain definition: `tab` passes of "CR LF -> CR LF tab, tab in front", then
// each placeholder in turn replaced everywhere (A-Z case ignored), left to
// right, what was put in looked at only by the later placeholders.
//
// Input: 20 bytes of numbers (x, y, xd, yd, tab), then the texts code,
// VarID, text, flags, p0 ... p9, separated by NUL bytes.
#include "fuzzutil.h"

#include "core/codegen/templateexpansion.h"
#include "core/document/latin1.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace tafelbau;

namespace {

std::string replaceFolded(const std::string &s, std::string_view placeholder, std::string_view value)
{
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s.size() - i >= placeholder.size()
            && equalsFolded(std::string_view(s).substr(i, placeholder.size()), placeholder)) {
            out.append(value);
            i += placeholder.size();
        } else {
            out.push_back(s[i++]);
        }
    }
    return out;
}

std::string reference(const GadgetRecord &r)
{
    std::string s = r.code;
    for (std::int32_t i = 0; i < std::clamp(r.tab, 0, kMaxExpandedTab); ++i)
        s = "\t" + replaceAll(s, "\r\n", "\r\n\t");
    auto scaled = [](std::int32_t v) { return numberText(v) + "*GTBScale"; };
    s = replaceFolded(s, "[id]", r.varId);
    s = replaceFolded(s, "[text]", r.text);
    s = replaceFolded(s, "[x]", scaled(r.x));
    s = replaceFolded(s, "[y]", scaled(r.y));
    s = replaceFolded(s, "[xd]", scaled(r.xd));
    s = replaceFolded(s, "[yd]", scaled(r.yd));
    s = replaceFolded(s, "[flags]", r.flags);
    for (int p = 0; p < 10; ++p)
        s = replaceFolded(s, "[p" + std::to_string(p) + "]", r.p[static_cast<std::size_t>(p)]);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    GadgetRecord r;
    std::int32_t numbers[5] = {};
    if (size >= sizeof numbers) {
        std::memcpy(numbers, data, sizeof numbers);
        data += sizeof numbers;
        size -= sizeof numbers;
    }
    r.x = numbers[0];
    r.y = numbers[1];
    r.xd = numbers[2];
    r.yd = numbers[3];
    r.tab = numbers[4];
    std::string *fields[14] = {&r.code, &r.varId, &r.text, &r.flags};
    for (std::size_t i = 0; i < 10; ++i)
        fields[4 + i] = &r.p[i];
    std::string_view rest(reinterpret_cast<const char *>(data), size);
    for (std::string *field : fields) {
        const std::size_t nul = rest.find('\0');
        field->assign(rest.substr(0, nul));
        if (nul == std::string_view::npos)
            break;
        rest.remove_prefix(nul + 1);
    }

    const std::string expanded = expandTemplate(r);
    std::string appended = "before";
    appendExpandedTemplate(r, appended);
    FUZZ_CHECK(appended == "before" + expanded);
    // The plain definition copies the whole text once per tab level: only
    // shallow ones are compared, deep ones only have to end.
    if (std::clamp(r.tab, 0, kMaxExpandedTab) <= 16)
        FUZZ_CHECK(expanded == reference(r));
    return 0;
}
