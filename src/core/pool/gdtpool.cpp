#include "core/pool/gdtpool.h"

#include "core/document/latin1.h"

#include <algorithm>
#include <utility>

namespace tafelbau {

const PoolEntry *GdtPool::find(std::string_view name) const
{
    for (const PoolEntry &e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

PoolEntry *GdtPool::find(std::string_view name)
{
    return const_cast<PoolEntry *>(std::as_const(*this).find(name));
}

bool poolNameLess(std::string_view a, std::string_view b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(foldAscii(a[i]));
        const auto cb = static_cast<unsigned char>(foldAscii(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

void GdtPool::sortIntoPoolOrder()
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const PoolEntry &l, const PoolEntry &r) { return poolNameLess(l.name, r.name); });
}

FrameColourOf frameColoursOf(const GdtPool &pool)
{
    return [&pool](std::string_view typeName) {
        const PoolEntry *entry = pool.find(typeName);
        return entry ? entry->color : kDefaultFrameColour;
    };
}

} // namespace tafelbau
