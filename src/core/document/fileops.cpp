#include "core/document/fileops.h"

#include "core/document/statefolder.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tafelbau {

int FileOps::createTemp(std::string &pattern)
{
    return ::mkostemp(pattern.data(), O_CLOEXEC);
}

bool FileOps::mayWrite(const std::filesystem::path &path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

int FileOps::openForWriting(const std::filesystem::path &path, int flags)
{
    return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | flags);
}

long FileOps::write(int fd, const char *data, std::size_t size)
{
    return static_cast<long>(::write(fd, data, size));
}

int FileOps::sync(int fd)
{
    return ::fsync(fd);
}

int FileOps::truncate(int fd, long length)
{
    return ::ftruncate(fd, static_cast<off_t>(length));
}

int FileOps::rename(const std::filesystem::path &from, const std::filesystem::path &to)
{
    return std::rename(from.c_str(), to.c_str());
}

int FileOps::status(const std::filesystem::path &path, struct stat &out)
{
    return ::stat(path.c_str(), &out);
}

int FileOps::syncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = ::fsync(fd);
    ::close(fd);
    return result;
}

std::filesystem::path FileOps::stateFolder()
{
    return processStateFolder();
}

FileOps &FileOps::system()
{
    static FileOps ops;
    return ops;
}

} // namespace tafelbau
