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
    if (m_fd < 0)
        return false;
    m_temp = pattern;
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    (void)::fchmod(m_fd, mode);
    return true;
}

bool AtomicFile::write(std::string_view data)
{
    if (m_fd < 0 || m_failed)
        return false;
    m_failed = !writeAll(data);
    return !m_failed;
}

bool AtomicFile::commit(std::string_view data, bool durable)
{
    if (m_fd < 0)
        return false;
    bool ok = !m_failed && writeAll(data);
    if (ok && durable && !m_inPlace)
        ok = m_files->sync(m_fd) == 0;
    if (::close(m_fd) != 0)
        ok = false;
    m_fd = -1;
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
        ::close(m_fd);
        m_fd = -1;
        if (!m_inPlace)
            ::unlink(m_temp.c_str());
    }
    m_temp.clear();
    m_inPlace = false;
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
