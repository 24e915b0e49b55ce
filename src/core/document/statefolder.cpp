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
    // Four independent lanes of eight bytes, each mixed by a multiplication:
    // the steps of one lane wait for each other, those of four do not. A
    // byte-wise hash would cost a save of a big list noticeably.
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t lane[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                             0x082EFA98EC4E6C89ull ^ (bytes.size() * kMul)};
    auto mix = [](std::uint64_t h, std::uint64_t w) {
        h = (h ^ w) * kMul;
        return h ^ (h >> 29);
    };
    const char *p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 32; p += 32, n -= 32) {
        std::uint64_t w[4];
        std::memcpy(w, p, 32);
        for (int i = 0; i < 4; ++i)
            lane[i] = mix(lane[i], w[i]);
    }
    for (int i = 0; n > 0; i = (i + 1) % 4) {
        std::uint64_t w = 0;
        const std::size_t take = n < 8 ? n : 8;
        std::memcpy(&w, p, take);
        lane[i] = mix(lane[i], w ^ (std::uint64_t{take} << 60));
        p += take;
        n -= take;
    }
    std::uint64_t h = lane[0];
    for (int i = 1; i < 4; ++i)
        h = mix(h, lane[i]);
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
