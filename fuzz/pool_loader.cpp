// The pool loader: any bytes load or are refused without harm, and a pool
// that the saver accepts reads back entry for entry.
#include "fuzzutil.h"

#include "core/document/groupnames.h"
#include "core/pool/poolfile.h"

#include <cstdint>

using namespace tafelbau;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto path = fuzzutil::writeScratch("pool.ini", bytes);

    GdtPool pool;
    FUZZ_CHECK(loadGdtPool(path, pool));

    std::vector<std::string> names;
    for (const PoolEntry &e : pool.entries)
        names.push_back(e.name);
    const bool savable = unsafeGroupNames(names).empty();
    const auto saved = fuzzutil::scratchDir() / "saved.ini";
    const Outcome outcome = saveGdtPool(saved, pool); // sorts the pool
    FUZZ_CHECK(outcome.ok == savable);
    if (!outcome.ok)
        return 0;
    GdtPool again;
    FUZZ_CHECK(loadGdtPool(saved, again));
    FUZZ_CHECK(again.settings == pool.settings);
    FUZZ_CHECK(again.entries == pool.entries);
    return 0;
}
