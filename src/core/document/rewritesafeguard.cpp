#include "core/document/rewritesafeguard.h"

#include "core/document/atomicfile.h"
#include "core/document/latin1.h"
#include "core/document/statefolder.h"
#include "core/document/systemerror.h"

#include <cerrno>
#include <charconv>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

constexpr std::string_view kSubfolder = "rewrites";
constexpr std::string_view kPrefix = "rewrite-";
constexpr std::string_view kMagic = "Tafelbau rewrite 1\n";
// A copy whose head is not complete yet may belong to a rewrite that has
// just begun; only an old one is taken for a leftover.
constexpr std::time_t kUnfinishedAge = 60;

bool writeFully(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

struct CopyHead
{
    fs::path file;
    std::uint64_t device = 0, inode = 0, newSize = 0, newHash = 0, oldSize = 0;
    std::string_view oldBytes;
};

// Head: the magic line, the path's length, the path and a line end, then
// "device inode new-size new-hash old-size" and a line end; the old bytes
// follow. The path may hold any byte but NUL, line ends included.
std::string headOf(const CopyHead &h)
{
    const std::string &path = h.file.native();
    return std::string(kMagic) + std::to_string(path.size()) + "\n" + path + "\n" + std::to_string(h.device) + " "
        + std::to_string(h.inode) + " " + std::to_string(h.newSize) + " " + hexOf(h.newHash) + " "
        + std::to_string(h.oldSize) + "\n";
}

bool readNumber(std::string_view &s, std::uint64_t &out, char end, int base = 10)
{
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
    if (ec != std::errc() || p == s.data() + s.size() || *p != end)
        return false;
    s.remove_prefix(static_cast<std::size_t>(p - s.data()) + 1);
    return true;
}

bool parseCopy(std::string_view s, CopyHead &h)
{
    if (s.substr(0, kMagic.size()) != kMagic)
        return false;
    s.remove_prefix(kMagic.size());
    std::uint64_t pathSize = 0;
    if (!readNumber(s, pathSize, '\n') || pathSize == 0 || pathSize >= s.size() || s[pathSize] != '\n')
        return false;
    h.file = std::string(s.substr(0, pathSize));
    s.remove_prefix(pathSize + 1);
    if (!readNumber(s, h.device, ' ') || !readNumber(s, h.inode, ' ') || !readNumber(s, h.newSize, ' ')
        || !readNumber(s, h.newHash, ' ', 16) || !readNumber(s, h.oldSize, '\n') || s.size() != h.oldSize)
        return false;
    h.oldBytes = s;
    return true;
}

bool putBack(const fs::path &file, std::string_view bytes, int &error)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    bool ok = fd >= 0;
    if (ok) {
        struct stat st = {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            errno = kNotARegularFile;
            ok = false;
        }
    }
    ok = ok && ::ftruncate(fd, 0) == 0 && writeFully(fd, bytes) && ::fsync(fd) == 0;
    if (!ok)
        error = errno;
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    return ok;
}

} // namespace

RewriteSafeguard::~RewriteSafeguard()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RewriteSafeguard::keep(const fs::path &stateFolder, const fs::path &target, std::string_view oldBytes,
                            std::string_view newBytes)
{
    struct stat st = {};
    if (::stat(target.c_str(), &st) != 0)
        return false;
    const fs::path folder = stateSubfolder(stateFolder, kSubfolder);
    if (folder.empty()) {
        errno = ENOENT;
        return false;
    }
    std::string pattern = (folder / (std::string(kPrefix) + "XXXXXX")).string();
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        return false;
    m_copy = pattern;
    CopyHead head;
    head.file = fs::absolute(target);
    head.device = st.st_dev;
    head.inode = st.st_ino;
    head.newSize = newBytes.size();
    head.newHash = contentHash(newBytes);
    head.oldSize = oldBytes.size();
    // Locked before anything is written, so that a recovery running at the
    // same time leaves it alone.
    const bool ok = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0 && writeFully(m_fd, headOf(head))
        && writeFully(m_fd, oldBytes) && ::fsync(m_fd) == 0;
    if (!ok) {
        const int error = errno;
        release();
        errno = error;
        return false;
    }
    // The copy's name must be on the disk as well before the file is cut.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

void RewriteSafeguard::release()
{
    if (!m_copy.empty())
        ::unlink(m_copy.c_str());
    m_copy.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::vector<RecoveredRewrite> recoverInterruptedRewrites(const fs::path &stateFolder)
{
    std::vector<RecoveredRewrite> report;
    if (stateFolder.empty())
        return report;
    const fs::path folder = stateFolder / kSubfolder;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path copy = it->path();
        if (copy.filename().native().rfind(kPrefix, 0) != 0)
            continue;
        const int fd = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        // Locked: the rewrite is running in another process right now.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        struct stat own = {};
        (void)::fstat(fd, &own);
        std::string bytes;
        const bool read = readWholeFile(copy, bytes);
        CopyHead head;
        if (!read || !parseCopy(bytes, head)) {
            if (std::time(nullptr) - own.st_mtime > kUnfinishedAge)
                ::unlink(copy.c_str());
            ::close(fd);
            continue;
        }
        struct stat now = {};
        std::string current;
        const bool same = ::stat(head.file.c_str(), &now) == 0 && now.st_dev == head.device
            && now.st_ino == head.inode && readWholeFile(head.file, current);
        // Replaced or removed since, or finished, or cut before a byte was
        // written: nothing to put back.
        if (!same || (current.size() == head.newSize && contentHash(current) == head.newHash)
            || current == head.oldBytes) {
            ::unlink(copy.c_str());
            ::close(fd);
            continue;
        }
        RecoveredRewrite r;
        r.file = head.file;
        r.restored = putBack(head.file, head.oldBytes, r.error);
        if (r.restored)
            ::unlink(copy.c_str());
        else
            r.copy = copy;
        report.push_back(r);
        ::close(fd);
    }
    return report;
}

std::string recoveryMessage(const RecoveredRewrite &r)
{
    if (r.restored)
        return latin1ToUtf8("Eine unterbrochene Speicherung wurde zur\xFC"
                            "ckgenommen; die Datei hat wieder ihren vorigen Inhalt: ")
            + r.file.string();
    return withSystemReason(latin1ToUtf8("Fehler: Eine unterbrochene Speicherung l\xE4sst sich nicht zur\xFC"
                                         "cknehmen: ")
                                + r.file.string(),
                            r.error)
        + latin1ToUtf8("\r\nDer vorige Inhalt liegt in: ") + r.copy.string();
}

} // namespace tafelbau
