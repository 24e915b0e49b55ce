#include "core/document/statefolder.h"

#include <cstdlib>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace tafelbau {

fs::path stateFolderFor(const std::string &xdgStateHome, const std::string &home)
{
    if (!xdgStateHome.empty() && xdgStateHome.front() == '/')
        return fs::path(xdgStateHome) / "Tafelbau";
    if (!home.empty())
        return fs::path(home) / ".local" / "state" / "Tafelbau";
    return {};
}

fs::path processStateFolder()
{
    const char *state = std::getenv("XDG_STATE_HOME");
    const char *home = std::getenv("HOME");
    return stateFolderFor(state ? state : "", home ? home : "");
}

fs::path stateSubfolder(const fs::path &stateFolder, std::string_view name)
{
    if (stateFolder.empty())
        return {};
    const fs::path folder = stateFolder / name;
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return folder;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return {};
    // What lies there are copies of the user's files.
    fs::permissions(stateFolder, fs::perms::owner_all, fs::perm_options::replace, ec);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    return folder;
}

std::uint64_t contentHash(std::string_view bytes) noexcept
{
    // Eight bytes a step, each mixed by a multiplication: several GB/s,
    // where a byte-wise hash would cost a save of a big list noticeably.
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = 0x243F6A8885A308D3ull ^ (bytes.size() * kMul);
    const char *p = bytes.data();
    std::size_t n = bytes.size();
    auto mix = [&](std::uint64_t w) {
        h ^= w;
        h *= kMul;
        h ^= h >> 29;
    };
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        mix(w);
    }
    std::uint64_t tail = 0;
    if (n > 0)
        std::memcpy(&tail, p, n);
    mix(tail ^ (std::uint64_t{n} << 56));
    h ^= h >> 32;
    h *= kMul;
    return h ^ (h >> 31);
}

std::string hexOf(std::uint64_t value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return out;
}

} // namespace tafelbau
