#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

struct stat;

namespace tafelbau {

/// The file-system calls a save makes. Every saver takes one: the program
/// passes system(), tests a subclass whose calls fail as a full disk or a
/// read-only file or folder makes them fail -- faults that root, who runs
/// the tests in CI, would otherwise never meet -- or that sees names as a
/// file system that ignores letter case does. Each call returns what its
/// system call returns and sets errno the same way.
class FileOps
{
public:
    virtual ~FileOps() = default;

    /// mkostemp(3) on `pattern` ("…XXXXXX"), which receives the name made.
    virtual int createTemp(std::string &pattern);
    /// Whether the user may write the existing file at `path` (access(2)).
    virtual bool mayWrite(const std::filesystem::path &path);
    /// open(2) of an existing file for writing, with extra `flags`.
    virtual int openForWriting(const std::filesystem::path &path, int flags);
    virtual long write(int fd, const char *data, std::size_t size);
    virtual int sync(int fd);
    virtual int truncate(int fd, long length);
    virtual int rename(const std::filesystem::path &from, const std::filesystem::path &to);
    /// stat(2): links followed.
    virtual int status(const std::filesystem::path &path, struct stat &out);
    /// Makes a folder's entries durable (fsync(2) of the folder), so that a
    /// rename survives a power failure.
    virtual int syncFolder(const std::filesystem::path &folder);
    /// The user's state folder (see statefolder.h); empty when none is known.
    virtual std::filesystem::path stateFolder();

    /// The calls as the system makes them.
    static FileOps &system();
};

} // namespace tafelbau
