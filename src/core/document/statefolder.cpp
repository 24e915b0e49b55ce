#include "core/document/statefolder.h"

#include <algorithm>
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

fs::path realPathOf(const fs::path &file)
{
    std::error_code ec;
    fs::path key = fs::weakly_canonical(fs::absolute(file, ec), ec);
    if (ec)
        key = fs::absolute(file, ec).lexically_normal();
    return key;
}

namespace {

// Four independent lanes of eight bytes, each mixed by a multiplication:
// the steps of one lane wait for each other, those of four do not. A
// byte-wise hash would cost a save of a big list noticeably.
constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;

inline std::uint64_t mix(std::uint64_t h, std::uint64_t w) noexcept
{
    h = (h ^ w) * kMul;
    return h ^ (h >> 29);
}

} // namespace

ContentHasher::ContentHasher(std::uint64_t totalSize) noexcept
    : m_lane{0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
             0x082EFA98EC4E6C89ull ^ (totalSize * kMul)}
{
}

ContentHasher::ContentHasher() noexcept : ContentHasher(0)
{
    m_sized = false;
}

void ContentHasher::block(const char *p) noexcept
{
    std::uint64_t w[4];
    std::memcpy(w, p, 32);
    for (int i = 0; i < 4; ++i)
        m_lane[i] = mix(m_lane[i], w[i]);
}

void ContentHasher::add(std::string_view piece) noexcept
{
    const char *p = piece.data();
    std::size_t n = piece.size();
    m_added += n;
    if (m_pendingSize > 0) {
        const std::size_t take = std::min(n, 32 - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, p, take);
        m_pendingSize += take;
        p += take;
        n -= take;
        if (m_pendingSize < 32)
            return;
        block(m_pending);
        m_pendingSize = 0;
    }
    for (; n >= 32; p += 32, n -= 32)
        block(p);
    std::memcpy(m_pending, p, n);
    m_pendingSize = n;
}

std::uint64_t ContentHasher::result() noexcept
{
    // The last bytes, fewer than a block, eight at a time across the lanes.
    const char *p = m_pending;
    std::size_t n = m_pendingSize;
    std::uint64_t lane[4] = {m_lane[0], m_lane[1], m_lane[2], m_lane[3]};
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
    if (!m_sized)
        h = mix(h, m_added * kMul);
    h ^= h >> 32;
    h *= kMul;
    return h ^ (h >> 31);
}

std::uint64_t contentHash(std::string_view bytes) noexcept
{
    ContentHasher hasher(bytes.size());
    hasher.add(bytes);
    return hasher.result();
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
