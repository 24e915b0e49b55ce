#include "core/document/listlock.h"

#include "core/document/statefolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

fs::path lockFileFor(const fs::path &listFile, FileOps &files)
{
    const fs::path folder = stateSubfolder(files.stateFolder(), "locks");
    if (folder.empty() || listFile.empty())
        return {};
    return folder / (hexOf(contentHash(realPathOf(listFile).native())) + ".lock");
}

long pidIn(int fd)
{
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    const long pid = n > 0 ? std::strtol(text, nullptr, 10) : 0;
    return pid > 0 ? pid : -1;
}

// Whether `fd` is still the file at `path`: a holder that gave the lock up
// removed its file, and a lock on the removed one guards nothing.
bool stillNamed(int fd, const fs::path &path)
{
    struct stat open = {}, named = {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_ino == named.st_ino
        && open.st_dev == named.st_dev;
}

} // namespace

ListLock &ListLock::operator=(ListLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_file = std::move(other.m_file);
        other.m_fd = -1;
        other.m_file.clear();
    }
    return *this;
}

bool ListLock::holds(const fs::path &listFile, FileOps &files) const
{
    return m_fd >= 0 && lockFileFor(listFile, files) == m_file;
}

long ListLock::acquire(const fs::path &listFile, FileOps &files)
{
    const fs::path file = lockFileFor(listFile, files);
    if (m_fd >= 0 && file == m_file)
        return 0;
    release();
    if (file.empty())
        return 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return 0; // nothing to lock with: the list opens as before
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const long pid = pidIn(fd);
            ::close(fd);
            // The lock is one process's: two documents of one process (in
            // tests) do not keep each other out.
            return pid == static_cast<long>(::getpid()) ? 0 : pid;
        }
        if (!stillNamed(fd, file)) {
            ::close(fd);
            continue;
        }
        const std::string pid = std::to_string(::getpid()) + "\n";
        if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) < 0) {
            // The id is only for the message of another editor.
        }
        m_fd = fd;
        m_file = file;
        return 0;
    }
    return 0;
}

void ListLock::release()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so that nobody takes the lock of a file
    // about to go.
    ::unlink(m_file.c_str());
    ::close(m_fd);
    m_fd = -1;
    m_file.clear();
}

} // namespace tafelbau
