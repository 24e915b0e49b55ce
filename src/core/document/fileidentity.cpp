#include "core/document/fileidentity.h"

#include "core/document/statefolder.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tafelbau {

namespace {

constexpr std::size_t kSlice = std::size_t{1} << 18;

void takeStat(const struct stat &st, FileIdentity &out)
{
    out.device = static_cast<std::uint64_t>(st.st_dev);
    out.inode = static_cast<std::uint64_t>(st.st_ino);
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
}

std::int64_t nowNs()
{
    struct timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// The coarsest clock a file system keeps modification times with (FAT).
constexpr std::int64_t kCoarsestTickNs = 2'000'000'000;

} // namespace

std::optional<FileIdentity> fileIdentityOf(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    FileIdentity id;
    struct stat st = {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        takeStat(st, id);
        // Read a slice at a time into one buffer: a big list read whole
        // would cost a fresh allocation at every save, and that costs more
        // than the reading.
        ContentHasher hasher;
        static thread_local std::unique_ptr<char[]> buffer(new char[kSlice]);
        std::uint64_t total = 0;
        for (;;) {
            const ssize_t n = ::read(fd, buffer.get(), kSlice);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            total += static_cast<std::uint64_t>(n);
            if (total > id.size)
                break; // growing while read: the hash below will differ
            hasher.add({buffer.get(), static_cast<std::size_t>(n)});
        }
        // A file that changed length while it was read is taken as it was
        // at the look, with a hash that can match nothing it held.
        id.hash = total == id.size ? hasher.result() : ~hasher.result();
        id.takenNs = nowNs();
    }
    ::close(fd);
    return ok ? std::optional<FileIdentity>(id) : std::nullopt;
}

std::optional<FileIdentity> writtenFileIdentity(const std::filesystem::path &path, std::uint64_t hash)
{
    struct stat st = {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    FileIdentity id;
    takeStat(st, id);
    id.hash = hash;
    id.writtenHere = true;
    id.takenNs = nowNs();
    return id;
}

bool changedOnDisk(const FileIdentity &known, const std::filesystem::path &path)
{
    struct stat st = {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    FileIdentity now;
    takeStat(st, now);
    const bool sameStat = now.device == known.device && now.inode == known.inode && now.size == known.size
        && now.modifiedNs == known.modifiedNs;
    if (sameStat && (known.writtenHere || known.modifiedNs + kCoarsestTickNs < known.takenNs))
        return false;
    const auto read = fileIdentityOf(path);
    return read && (read->size != known.size || read->hash != known.hash);
}

} // namespace tafelbau
