// What a file was when the program last read or wrote it, so that a change
// made by another program is noticed before a save writes over it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tafelbau {

struct FileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; ///< modification time, nanoseconds since the epoch
    std::uint64_t hash = 0;      ///< of its bytes: an unsized ContentHasher's (statefolder.h)
    bool writtenHere = false;    ///< taken from what this program wrote, not read
    std::int64_t takenNs = 0;    ///< when it was read, nanoseconds since the epoch

    bool operator==(const FileIdentity &) const = default;
};

/// The identity of the regular file at `path` (links followed), read whole;
/// nullopt when there is none or it cannot be read.
std::optional<FileIdentity> fileIdentityOf(const std::filesystem::path &path);

/// The identity of the file at `path` just written here with bytes of the
/// hash `hash`: nothing is read back.
std::optional<FileIdentity> writtenFileIdentity(const std::filesystem::path &path, std::uint64_t hash);

/// Whether the file at `path` holds other bytes than `known` says. A file
/// that is gone, or touched or rewritten with the same bytes, did not
/// change: a save then loses nobody's work.
///
/// The bytes are read only when device, inode, size or modification time
/// differ, or when the time cannot tell: file systems keep it coarsely
/// (FAT to two seconds), and a write in the same tick as the look leaves it
/// as it was. A file this program has just written is not read again while
/// it looks the same: it is new, nobody else had it open before, and a
/// write into it of the same length within the same tick is the one change
/// this look can miss.
bool changedOnDisk(const FileIdentity &known, const std::filesystem::path &path);

} // namespace tafelbau
