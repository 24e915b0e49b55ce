// One list, one editor: a lock per list in the user's state folder, so
// that a second Tafelbau opening it can say who has it. The lock is the
// kernel's (flock(2)) on a file named after the list's path: it goes with
// the process that held it, also when that process crashed or was killed,
// so no lock is ever left behind.
#pragma once

#include "core/document/fileops.h"

#include <filesystem>

namespace tafelbau {

class ListLock
{
public:
    ListLock() = default;
    ListLock(const ListLock &) = delete;
    ListLock &operator=(const ListLock &) = delete;
    ListLock(ListLock &&other) noexcept { *this = std::move(other); }
    /// Gives up the lock held and takes over `other`'s.
    ListLock &operator=(ListLock &&other) noexcept;
    ~ListLock() { release(); }

    /// Takes the lock of `listFile` for this process, giving up the one held
    /// before. 0 when taken, or when there is no state folder to lock in;
    /// else the process id of the process holding it (-1 when it has not
    /// written its id yet), and this one holds none.
    long acquire(const std::filesystem::path &listFile, FileOps &files = FileOps::system());

    /// Whether this holds the lock of `listFile`.
    bool holds(const std::filesystem::path &listFile, FileOps &files = FileOps::system()) const;

    void release();

private:
    int m_fd = -1;
    std::filesystem::path m_file; ///< the lock file held
};

} // namespace tafelbau
