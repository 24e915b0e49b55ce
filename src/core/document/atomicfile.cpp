#include "core/document/atomicfile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

mode_t currentUmask()
{
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

} // namespace

bool AtomicFile::writeAll(std::string_view data)
{
    const char *p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const long n = m_files->write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
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
    std::error_code ec;
    fs::path real = target;
    // Write through a symbolic link to the file it names, keeping the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            real = resolved;
    }
    struct stat st = {};
    const bool exists = ::stat(real.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return false;
    if (exists && !m_files->mayWrite(real))
        return false;
    m_target = real;
    if (exists && !S_ISREG(st.st_mode)) {
        m_fd = m_files->openForWriting(real, 0);
        m_inPlace = m_fd >= 0;
        return m_inPlace;
    }
    fs::path dir = real.parent_path();
    if (dir.empty())
        dir = ".";
    std::string pattern = (dir / ("." + real.filename().string() + ".XXXXXX")).string();
    m_fd = m_files->createTemp(pattern);
    if (m_fd < 0) {
        // The folder takes no new file, but the file itself may be written:
        // rewrite it where it is, keeping its old bytes to put back.
        std::string previous;
        if (!exists || !readWholeFile(real, previous))
            return false;
        m_fd = m_files->openForWriting(real, 0);
        if (m_fd < 0)
            return false;
        m_inPlace = true;
        m_previous = std::move(previous);
        return true;
    }
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

bool AtomicFile::startRewrite()
{
    if (!m_previous || m_rewriting)
        return true;
    m_rewriting = true;
    return m_files->truncate(m_fd, 0) == 0;
}

void AtomicFile::restorePrevious()
{
    if (!m_previous || !m_rewriting)
        return;
    if (m_files->truncate(m_fd, 0) == 0 && ::lseek(m_fd, 0, SEEK_SET) == 0)
        (void)writeAll(*m_previous);
    (void)m_files->sync(m_fd);
}

bool AtomicFile::write(std::string_view data)
{
    if (m_fd < 0 || m_failed)
        return false;
    m_failed = !startRewrite() || !writeAll(data);
    return !m_failed;
}

bool AtomicFile::commit(std::string_view data, bool durable)
{
    if (m_fd < 0)
        return false;
    bool ok = !m_failed && startRewrite() && writeAll(data);
    // A file rewritten in place has no older copy left on the disk: it is
    // on the disk before the save counts as done, whatever `durable` says.
    if (ok && ((durable && !m_inPlace) || m_previous))
        ok = m_files->sync(m_fd) == 0;
    if (!ok)
        restorePrevious();
    if (::close(m_fd) != 0)
        ok = false;
    m_fd = -1;
    m_previous.reset();
    m_rewriting = false;
    if (m_inPlace)
        return ok;
    if (ok)
        ok = m_files->rename(m_temp, m_target) == 0;
    if (!ok)
        ::unlink(m_temp.c_str());
    m_temp.clear();
    return ok;
}

void AtomicFile::discard()
{
    m_failed = false;
    if (m_fd >= 0) {
        restorePrevious();
        ::close(m_fd);
        m_fd = -1;
        if (!m_inPlace)
            ::unlink(m_temp.c_str());
    }
    m_temp.clear();
    m_inPlace = false;
    m_previous.reset();
    m_rewriting = false;
}

bool readWholeFile(const fs::path &path, FileBytes &out, bool *writable)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    const bool rw = fd >= 0;
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
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
            ::close(fd);
            return false;
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

bool readWholeFile(const fs::path &path, std::string &out, bool *writable)
{
    FileBytes bytes;
    if (!readWholeFile(path, bytes, writable))
        return false;
    out.assign(bytes.view());
    return true;
}

} // namespace tafelbau
