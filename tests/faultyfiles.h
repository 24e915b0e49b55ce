#pragma once

// File operations for the save tests: each fails one call the way a fault of
// the disk makes it fail, and passes the others on to the system.
#include "core/document/fileops.h"

#include <cerrno>
#include <functional>

namespace testutil {

/// A disk that is full after `okWrites` writes: every later write fails.
class FullDisk : public tafelbau::FileOps
{
public:
    explicit FullDisk(int okWrites = 0) : m_fails([okWrites](int write) { return write > okWrites; }) {}
    /// Write number n (from 1) fails when `fails(n)`.
    explicit FullDisk(std::function<bool(int)> fails) : m_fails(std::move(fails)) {}

    long write(int fd, const char *data, std::size_t size) override
    {
        if (m_fails(++m_writes)) {
            errno = ENOSPC;
            return -1;
        }
        return FileOps::write(fd, data, size);
    }

    int writes() const { return m_writes; }

private:
    std::function<bool(int)> m_fails;
    int m_writes = 0;
};

/// Files the user may not write (mode 0444 for anyone but root), in a folder
/// that may or may not take new files.
class ReadOnlyFiles : public tafelbau::FileOps
{
public:
    bool mayWrite(const std::filesystem::path &) override { return false; }
};

/// A folder the user may not write: no new file can be made in it, while
/// the files already there may still be written.
class ReadOnlyFolder : public FullDisk
{
public:
    /// Writes fail as FullDisk's do; none by default.
    explicit ReadOnlyFolder(std::function<bool(int)> fails = [](int) { return false; }) : FullDisk(std::move(fails)) {}

    int createTemp(std::string &) override
    {
        errno = EACCES;
        return -1;
    }
};

/// The system's calls, with the state folder (where copies of files being
/// rewritten in place go) a folder of the test's own; none for an empty path.
class WithStateFolder : public tafelbau::FileOps
{
public:
    explicit WithStateFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    std::filesystem::path stateFolder() override { return m_folder; }

private:
    std::filesystem::path m_folder;
};

/// A folder that takes no new file, so that files are rewritten in place,
/// with the state folder a test gives.
class InPlace : public WithStateFolder
{
public:
    using WithStateFolder::WithStateFolder;
    int createTemp(std::string &) override
    {
        errno = EACCES;
        return -1;
    }
};

} // namespace testutil
