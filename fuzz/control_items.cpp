// What the real-gadget drawing shows of card 0 for a list built from the
// input: every record of the card that is not hidden, once, where it is;
// gadgets of other cards only inside a container, with a part of them in
// sight; the marking only on selected records of the card.
//
// Input: records separated by NUL bytes. Each starts with 18 bytes: card,
// a byte of xy0 / dontshow / selected bits, then x, y, xd, yd as 32-bit
// numbers; the rest is the code template, then after a 0x01 byte the flags.
#include "fuzzutil.h"

#include "core/canvas/controlitems.h"

#include <cstring>
#include <vector>

using namespace tafelbau;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    GdtList list;
    std::string_view rest(reinterpret_cast<const char *>(data), size);
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\0'), rest.size());
        std::string_view field = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        char head[18] = {};
        std::memcpy(head, field.data(), std::min(field.size(), sizeof head));
        field.remove_prefix(std::min(field.size(), sizeof head));
        GadgetRecord r;
        r.card = static_cast<std::int8_t>(head[0]) % 3;
        r.xy0 = head[1] & 1;
        r.dontshow = (head[1] >> 1) & 1;
        r.selected = (head[1] >> 2) & 1;
        std::memcpy(&r.x, head + 2, 4);
        std::memcpy(&r.y, head + 6, 4);
        std::memcpy(&r.xd, head + 10, 4);
        std::memcpy(&r.yd, head + 14, 4);
        const std::size_t split = std::min(field.find('\1'), field.size());
        r.code.assign(field.substr(0, split));
        if (split < field.size())
            r.flags.assign(field.substr(split + 1));
        list.append(std::move(r));
    }

    const auto &records = list.records();
    const auto items = controlItems(list, 0, kColourMove, ControlMetrics{});
    std::vector<char> seen(records.size(), 0);
    std::size_t onCard = 0;
    for (const CardItem &item : items) {
        FUZZ_CHECK(item.record >= 0 && static_cast<std::size_t>(item.record) < records.size());
        const GadgetRecord &r = records[static_cast<std::size_t>(item.record)];
        FUZZ_CHECK(!seen[static_cast<std::size_t>(item.record)]);
        seen[static_cast<std::size_t>(item.record)] = 1;
        FUZZ_CHECK(item.lvid == r.lvid && r.dontshow == 0);
        FUZZ_CHECK(item.control.type == controlType(r.code, r.flags));
        FUZZ_CHECK(item.control.marked == (r.selected && r.card == 0));
        if (r.card == 0) {
            ++onCard;
            FUZZ_CHECK(!item.control.clipped);
            FUZZ_CHECK(item.x == (r.xy0 ? 0 : r.x) && item.y == (r.xy0 ? 0 : r.y));
        } else {
            FUZZ_CHECK(item.control.clipped);
            FUZZ_CHECK(!item.control.clip.intersected({item.x, item.y, item.width, item.height}).isEmpty());
        }
    }
    std::size_t expected = 0;
    for (const GadgetRecord &r : records)
        expected += r.card == 0 && r.dontshow == 0 ? 1 : 0;
    FUZZ_CHECK(onCard == expected);
    return 0;
}
