#pragma once

// File operations for the save tests: each fails one call the way a fault of
// the disk makes it fail, and passes the others on to the system.
#include "core/document/fileops.h"

#include <cerrno>

namespace testutil {

/// A disk that is full after `okWrites` writes: every later write fails.
class FullDisk : public tafelbau::FileOps
{
public:
    explicit FullDisk(int okWrites = 0) : m_okWrites(okWrites) {}

    long write(int fd, const char *data, std::size_t size) override
    {
        ++m_writes;
        if (m_writes > m_okWrites) {
            errno = ENOSPC;
            return -1;
        }
        return FileOps::write(fd, data, size);
    }

    int writes() const { return m_writes; }

private:
    int m_okWrites;
    int m_writes = 0;
};

} // namespace testutil
