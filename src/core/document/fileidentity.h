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
    std::uint64_t hash = 0;      ///< contentHash() of its bytes

    bool operator==(const FileIdentity &) const = default;
};

/// The identity of the regular file at `path` (links followed); nullopt
/// when there is none or it cannot be read.
std::optional<FileIdentity> fileIdentityOf(const std::filesystem::path &path);

/// Whether the file at `path` holds other bytes than `known` says. A file
/// that is gone, or touched or rewritten with the same bytes, did not
/// change: a save then loses nobody's work.
bool changedOnDisk(const FileIdentity &known, const std::filesystem::path &path);

} // namespace tafelbau
