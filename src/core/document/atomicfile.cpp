#include "core/document/atomicfile.h"

#include "core/document/rewritesafeguard.h"
#include "core/document/statefolder.h"
#include "core/document/systemerror.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

constexpr std::string_view kTempPrefix = ".tafelbau-";
// A temporary file is locked right after it is made; this spares the one
// a save elsewhere has made but not locked yet.
constexpr std::time_t kStaleAge = 60;

mode_t currentUmask()
{
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

/// Whether `name` is a temporary file of this program in a folder where
/// `target` is saved: ours, or one of the longer names earlier versions
/// gave ("." + target + "." + six characters).
bool isOwnTempName(std::string_view name, std::string_view target)
{
    if (name.size() == kTempPrefix.size() + 6 && name.substr(0, kTempPrefix.size()) == kTempPrefix)
        return true;
    return name.size() == target.size() + 8 && name[0] == '.' && name.substr(1, target.size()) == target
        && name[target.size() + 1] == '.';
}

/// Removes temporary files a killed save left in `dir`: unlocked, and not
/// written to for a while.
void removeStaleTemps(const fs::path &dir, std::string_view target)
{
    DIR *d = ::opendir(dir.c_str());
    if (!d)
        return;
    const int dirFd = ::dirfd(d);
    const std::time_t now = std::time(nullptr);
    while (const dirent *e = ::readdir(d)) {
        if (!isOwnTempName(e->d_name, target))
            continue;
        const int fd = ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st = {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime > kStaleAge
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

} // namespace

fs::path followLinks(const fs::path &path)
{
    fs::path current = path;
    // As the system gives up on a loop, so does this; the write then fails
    // with ELOOP.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st = {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::error_code ec;
        const fs::path to = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = to.is_absolute() ? to : current.parent_path() / to;
    }
    return current;
}

bool AtomicFile::fail(int error)
{
    m_error = error != 0 ? error : EIO;
    return false;
}

bool AtomicFile::writeAll(std::string_view data)
{
    const char *p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const long n = m_files->write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::begin(const fs::path &target)
{
    discard();
    m_error = 0;
    const fs::path real = followLinks(target);
    struct stat st = {};
    const bool exists = m_files->status(real, st) == 0;
    if (!exists && errno != ENOENT)
        return fail(errno);
    if (exists && S_ISDIR(st.st_mode))
        return fail(EISDIR);
    if (exists && !S_ISREG(st.st_mode))
        return fail(kNotARegularFile);
    errno = 0;
    if (exists && !m_files->mayWrite(real))
        return fail(errno == 0 ? EACCES : errno);
    m_target = real;
    fs::path dir = real.parent_path();
    if (dir.empty())
        dir = ".";
    removeStaleTemps(dir, real.filename().native());
    // Every name of a hard-linked file is to see the new bytes.
    if (exists && st.st_nlink > 1 && beginInPlace(0))
        return true;
    // Without a copy of its old bytes the file is replaced, as any other:
    // its other names keep the old content, but nothing is lost.
    m_error = 0;
    m_previous.clear();
    std::string pattern = (dir / (std::string(kTempPrefix) + "XXXXXX")).string();
    m_fd = m_files->createTemp(pattern);
    if (m_fd < 0) {
        const int tempError = errno;
        // The folder takes no new file, but the file itself may be written.
        if (!exists)
            return fail(tempError);
        return beginInPlace(tempError);
    }
    (void)::flock(m_fd, LOCK_EX | LOCK_NB);
    m_temp = pattern;
    if (exists) {
        (void)::fchmod(m_fd, st.st_mode & 07777);
        // Only root may give a file away; a group the user belongs to is
        // kept for everyone. Where neither is allowed the file becomes the
        // user's own, as any new file would.
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0)
            (void)::fchown(m_fd, static_cast<uid_t>(-1), st.st_gid);
    } else {
        (void)::fchmod(m_fd, 0666 & ~currentUmask());
    }
    return true;
}

bool AtomicFile::beginInPlace(int tempError)
{
    // No copy of the old bytes, no rewrite in place: reported with the
    // reason the temporary file could not be made.
    if (stateSubfolder(m_files->stateFolder(), "rewrites").empty())
        return fail(tempError);
    int error = 0;
    if (!readWholeFile(m_target, m_previous, nullptr, &error))
        return fail(error);
    m_fd = m_files->openForWriting(m_target, 0);
    if (m_fd < 0)
        return fail(errno);
    m_inPlace = true;
    return true;
}

bool AtomicFile::rewriteInPlace()
{
    RewriteSafeguard copy;
    if (!copy.keep(m_files->stateFolder(), m_target, m_previous, m_pending))
        return fail(errno);
    if (m_files->truncate(m_fd, 0) != 0) {
        const int error = errno;
        copy.release(); // nothing was cut
        return fail(error);
    }
    if (writeAll(m_pending) && m_files->sync(m_fd) == 0) {
        copy.release();
        return true;
    }
    if (m_error == 0)
        m_error = errno;
    // The old bytes fit, as they did before; put them back. Where even that
    // fails, the copy stays for the recovery at the next start.
    const int error = m_error;
    if (m_files->truncate(m_fd, 0) == 0 && ::lseek(m_fd, 0, SEEK_SET) == 0 && writeAll(m_previous)
        && m_files->sync(m_fd) == 0)
        copy.release();
    return fail(error);
}

bool AtomicFile::write(std::string_view data)
{
    if (m_fd < 0 || m_failed)
        return false;
    if (m_inPlace) {
        m_pending.append(data);
        return true;
    }
    m_failed = !writeAll(data);
    return !m_failed;
}

bool AtomicFile::commit(std::string_view data, bool durable)
{
    if (m_fd < 0)
        return false;
    bool ok = !m_failed;
    if (m_inPlace) {
        m_pending.append(data);
        // A file rewritten in place has no older copy left on the disk: it
        // is on the disk before the save counts as done, whatever `durable`
        // says.
        ok = ok && rewriteInPlace();
    } else {
        ok = ok && writeAll(data);
        if (ok && durable && m_files->sync(m_fd) != 0)
            ok = fail(errno);
    }
    if (::close(m_fd) != 0 && ok)
        ok = fail(errno);
    m_fd = -1;
    m_previous.clear();
    m_pending.clear();
    if (m_inPlace) {
        m_inPlace = false;
        return ok;
    }
    if (ok && m_files->rename(m_temp, m_target) != 0)
        ok = fail(errno);
    if (!ok)
        ::unlink(m_temp.c_str());
    else if (durable)
        (void)m_files->syncFolder(m_target.parent_path());
    m_temp.clear();
    return ok;
}

void AtomicFile::discard()
{
    m_failed = false;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        // In place nothing has been written yet: the rewrite waits for commit().
        if (!m_inPlace)
            ::unlink(m_temp.c_str());
    }
    m_temp.clear();
    m_inPlace = false;
    m_previous.clear();
    m_pending.clear();
}

bool readWholeFile(const fs::path &path, FileBytes &out, bool *writable, int *error)
{
    auto failed = [error](int e) {
        if (error)
            *error = e;
        return false;
    };
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    const bool rw = fd >= 0;
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return failed(errno);
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(S_ISDIR(st.st_mode) ? EISDIR : kNotARegularFile);
    }
    std::size_t capacity = static_cast<std::size_t>(st.st_size) + 1;
    auto data = std::unique_ptr<char[]>(new char[capacity]);
    std::size_t got = 0;
    for (;;) {
        if (got == capacity) { // the file grew while we read it
            const std::size_t bigger = capacity * 2;
            auto grown = std::unique_ptr<char[]>(new char[bigger]);
            std::memcpy(grown.get(), data.get(), got);
            data = std::move(grown);
            capacity = bigger;
        }
        const ssize_t n = ::read(fd, data.get() + got, capacity - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            ::close(fd);
            return failed(e);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.data = std::move(data);
    out.size = got;
    if (writable)
        *writable = rw;
    return true;
}

bool readWholeFile(const fs::path &path, std::string &out, bool *writable, int *error)
{
    FileBytes bytes;
    if (!readWholeFile(path, bytes, writable, error))
        return false;
    out.assign(bytes.view());
    return true;
}

} // namespace tafelbau
