// The gadget list loader: any bytes load or are refused leaving the list as
// it was, and a loaded list whose VarIDs the file can hold apart is written
// and read back record for record.
#include "fuzzutil.h"

#include "core/document/groupnames.h"
#include "core/document/listfile.h"
#include "core/pool/poolfile.h"

#include <cstdint>

using namespace tafelbau;

namespace {

GdtPool smallPool()
{
    GdtPool pool;
    for (const char *name : {"ButtonGadget", "StringGadget", "Window"}) {
        PoolEntry e;
        e.name = name;
        e.color = static_cast<std::uint32_t>(e.name.size()) * 1000u;
        pool.entries.push_back(e);
    }
    return pool;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const GdtPool pool = smallPool();
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto path = fuzzutil::writeScratch("list.tbf", bytes);

    GdtList list;
    GadgetRecord sentinel;
    sentinel.varId = "Sentinel";
    list.append(sentinel);
    const GdtList before = list;
    const Outcome loaded = loadListFile(path, list, frameColoursOf(pool));
    if (!loaded.ok) {
        FUZZ_CHECK(!loaded.message.empty());
        FUZZ_CHECK(list.records() == before.records());
        return 0;
    }

    std::vector<std::string> ids;
    for (const GadgetRecord &r : list.records())
        ids.push_back(r.varId);
    if (!unsafeGroupNames(ids, GroupNameRule::FileOnly).empty())
        return 0;
    const auto saved = fuzzutil::scratchDir() / "saved.tbf";
    FUZZ_CHECK(writeListFile(saved, list).ok);
    GdtList again;
    FUZZ_CHECK(loadListFile(saved, again, frameColoursOf(pool)).ok);
    FUZZ_CHECK(again.records() == list.records());
    return 0;
}
