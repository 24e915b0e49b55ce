#pragma once

#include "core/document/fileops.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tafelbau {

/// Replaces a file only once its new content is completely on disk: the bytes
/// go to a temporary file in the same folder, which is renamed over the old
/// file at commit. A failed write leaves the old file byte for byte. The new
/// file keeps the old one's mode and, where allowed, its owner and group; a
/// symbolic link stays a link to the file it names.
///
/// A file the user may not write is not replaced: the rename would get past
/// its permission bits. Files that are not regular (a device such as
/// /dev/null, a pipe) cannot be renamed over and are written in place; so is
/// a writable file in a folder that takes no new file, and when that write
/// fails the old bytes are written back.
class AtomicFile
{
public:
    explicit AtomicFile(FileOps &files = FileOps::system()) : m_files(&files) {}
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;
    ~AtomicFile();

    /// Prepares to write `target`. False (nothing changed on disk) when the
    /// target is a folder, may not be written, or is new and its folder
    /// cannot take a new file.
    bool begin(const std::filesystem::path &target);

    /// Writes `data` ahead of what commit() writes, so that a big file need
    /// not be held whole in memory. False when writing failed; commit() then
    /// fails too and leaves the target alone.
    bool write(std::string_view data);

    /// Writes `data` and puts it in place of the target. False when any step
    /// failed; the target is then as it was before begin().
    /// `durable` waits until the bytes are on the disk before the rename, so
    /// that even a power failure leaves the old or the new file whole.
    /// Generated files, which a save can always make again, skip the wait.
    bool commit(std::string_view data, bool durable = true);

    /// Drops the prepared file; the target stays as it was.
    void discard();

    bool isActive() const { return m_fd >= 0; }

private:
    bool writeAll(std::string_view data);
    /// In place: empties the file before the first write.
    bool startRewrite();
    /// In place: puts the bytes the file had back after a failed write.
    void restorePrevious();

    FileOps *m_files;
    int m_fd = -1;
    bool m_inPlace = false;
    bool m_failed = false;
    // A regular file rewritten in place: its old bytes, until the new ones
    // are all written; whether it has been emptied yet.
    std::optional<std::string> m_previous;
    bool m_rewriting = false;
    std::filesystem::path m_target;
    std::filesystem::path m_temp;
};

/// Bytes of a file read whole, not zero-filled before the read: big lists
/// are read at every start.
struct FileBytes
{
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

/// Reads a whole regular file. False for a missing, unreadable or
/// non-regular file (a folder, a device).
bool readWholeFile(const std::filesystem::path &path, FileBytes &out, bool *writable = nullptr);

/// Reads a whole regular file. False for a missing, unreadable or
/// non-regular file (a folder, a device).
bool readWholeFile(const std::filesystem::path &path, std::string &out, bool *writable = nullptr);

} // namespace tafelbau
