// The user's state folder: what the program keeps between runs that is
// neither a setting nor a document (copies of files being rewritten, the
// hashes of code files written).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tafelbau {

/// $XDG_STATE_HOME/Tafelbau when that is an absolute path (the XDG rule
/// ignores a relative one), else `home`/.local/state/Tafelbau; empty when
/// neither is known -- never a folder at the root of the file system.
std::filesystem::path stateFolderFor(const std::string &xdgStateHome, const std::string &home);

/// The same from the environment of the process.
std::filesystem::path processStateFolder();

/// `stateFolder`/`name`, made with its parents when missing (readable for
/// the user only); empty when `stateFolder` is empty or it cannot be made.
std::filesystem::path stateSubfolder(const std::filesystem::path &stateFolder, std::string_view name);

/// The real, absolute path of `file`: every way of naming the file gives
/// the same, so that what the state folder keeps for it is found again.
std::filesystem::path realPathOf(const std::filesystem::path &file);

/// A 64-bit hash of `bytes`, quick enough to run over every file saved: it
/// tells a file changed by someone else from the one last written.
std::uint64_t contentHash(std::string_view bytes) noexcept;

/// contentHash() of bytes that come in pieces, such as a file read a slice
/// at a time: the same value, without holding them all at once. The total
/// size must be known at the start.
class ContentHasher
{
public:
    explicit ContentHasher(std::uint64_t totalSize) noexcept;
    /// For bytes whose length is known only at the end, as a file being
    /// written: the same mixing with the length taken in last, so another
    /// value than contentHash(), and as good a one.
    ContentHasher() noexcept;
    void add(std::string_view piece) noexcept;
    /// The hash; with a total size given, valid when exactly that many
    /// bytes were added.
    std::uint64_t result() noexcept;

private:
    void block(const char *p) noexcept;

    std::uint64_t m_lane[4];
    char m_pending[32];
    std::size_t m_pendingSize = 0;
    std::uint64_t m_added = 0;
    bool m_sized = true;
};

/// Sixteen lower-case hex digits.
std::string hexOf(std::uint64_t value);

} // namespace tafelbau
