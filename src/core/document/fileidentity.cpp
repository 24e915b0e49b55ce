#include "core/document/fileidentity.h"

#include "core/document/atomicfile.h"
#include "core/document/statefolder.h"

#include <sys/stat.h>

namespace tafelbau {

namespace {

bool statOf(const std::filesystem::path &path, FileIdentity &out)
{
    struct stat st = {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    out.device = static_cast<std::uint64_t>(st.st_dev);
    out.inode = static_cast<std::uint64_t>(st.st_ino);
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

} // namespace

std::optional<FileIdentity> fileIdentityOf(const std::filesystem::path &path)
{
    FileIdentity id;
    FileBytes bytes;
    if (!statOf(path, id) || !readWholeFile(path, bytes))
        return std::nullopt;
    // The file may have changed between the two calls; the hash is of what
    // was read, and the size with it.
    id.size = bytes.size;
    id.hash = contentHash(bytes.view());
    return id;
}

bool changedOnDisk(const FileIdentity &known, const std::filesystem::path &path)
{
    // The bytes are compared even when device, inode, size and time agree:
    // a file system with a coarse clock (FAT keeps two seconds) gives an
    // edit of the same length right after a save the same time.
    const auto now = fileIdentityOf(path);
    return now && (now->size != known.size || now->hash != known.hash);
}

} // namespace tafelbau
