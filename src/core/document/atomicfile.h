#pragma once

#include "core/document/fileops.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tafelbau {

/// Replaces a file only once its new content is completely on disk: the bytes
/// go to a temporary file in the same folder, which is renamed over the old
/// file at commit. A failed write leaves the old file byte for byte. The new
/// file keeps the old one's mode and, where allowed, its owner and group; a
/// symbolic link stays a link to the file it names, also when that file is
/// not there yet.
///
/// A file the user may not write is not replaced: the rename would get past
/// its permission bits. Nothing but a regular file is written: a pipe would
/// hold the save until something reads it. A file with several hard links
/// keeps them, and so does a writable file in a folder that takes no new
/// file: both are rewritten where they are, with a copy of the old bytes in
/// the user's state folder until the new ones are on the disk (see
/// RewriteSafeguard); without that copy there is no rewrite in place.
///
/// Temporary files are named ".tafelbau-XXXXXX" (short enough beside a file
/// name of 255 bytes) and locked while written; one left behind by a killed
/// process is removed by the next save into that folder.
class AtomicFile
{
public:
    explicit AtomicFile(FileOps &files = FileOps::system()) : m_files(&files) {}
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;
    ~AtomicFile();

    /// Prepares to write `target`. False (nothing changed on disk) when the
    /// target is no regular file, may not be written, or is new and its
    /// folder cannot take a new file; error() tells why.
    bool begin(const std::filesystem::path &target);

    /// Writes `data` ahead of what commit() writes, so that a big file need
    /// not be held whole in memory. False when writing failed; commit() then
    /// fails too and leaves the target alone.
    bool write(std::string_view data);

    /// Writes `data` and puts it in place of the target. False when any step
    /// failed (error() tells why); the target is then as it was before begin().
    /// `durable` waits until the bytes and the new name are on the disk, so
    /// that even a power failure leaves the old or the new file whole.
    /// Generated files, which a save can always make again, skip the wait.
    bool commit(std::string_view data, bool durable = true);

    /// Drops the prepared file; the target stays as it was.
    void discard();

    bool isActive() const { return m_fd >= 0; }

    /// errno of the step that failed, kNotARegularFile (systemerror.h), or 0.
    int error() const { return m_error; }

private:
    bool fail(int error);
    bool writeAll(std::string_view data);
    bool beginInPlace(int tempError);
    bool rewriteInPlace();

    FileOps *m_files;
    int m_fd = -1;
    int m_error = 0;
    bool m_inPlace = false;
    bool m_failed = false;
    // In place: the bytes the file had, and the new ones gathered until
    // commit, when the copy of the old ones is made.
    std::string m_previous;
    std::string m_pending;
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
/// non-regular file (a folder, a device); `error` then receives the errno
/// (EISDIR for a folder, kNotARegularFile for anything else not regular).
bool readWholeFile(const std::filesystem::path &path, FileBytes &out, bool *writable = nullptr,
                   int *error = nullptr);

/// Reads a whole regular file, as above.
bool readWholeFile(const std::filesystem::path &path, std::string &out, bool *writable = nullptr,
                   int *error = nullptr);

/// `path` with every symbolic link along its last part followed, also to a
/// file that does not exist yet: the file a write through the link reaches.
std::filesystem::path followLinks(const std::filesystem::path &path);

} // namespace tafelbau
