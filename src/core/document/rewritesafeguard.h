#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

/// A complete copy of a file's old bytes, kept in the user's state folder
/// while the file is rewritten where it is (a file with hard links, or one
/// in a folder that takes no new file), where no older copy is left on the
/// disk. The copy stays locked while the rewrite runs; released once the
/// new bytes are on the disk. A kill or a crash half way leaves the copy,
/// and recoverInterruptedRewrites() at the next start puts it back.
class RewriteSafeguard
{
public:
    RewriteSafeguard() = default;
    RewriteSafeguard(const RewriteSafeguard &) = delete;
    RewriteSafeguard &operator=(const RewriteSafeguard &) = delete;
    /// Unlocks; a copy that was not released stays for the recovery.
    ~RewriteSafeguard();

    /// Writes the copy of `oldBytes` for `target`, which is about to receive
    /// `newBytes`, and waits until it is on the disk. False (errno set) when
    /// it cannot be kept; nothing is left behind then.
    bool keep(const std::filesystem::path &stateFolder, const std::filesystem::path &target,
              std::string_view oldBytes, std::string_view newBytes);

    /// The file holds whole bytes again (new or old): the copy goes.
    void release();

    const std::filesystem::path &copy() const { return m_copy; }

private:
    int m_fd = -1;
    std::filesystem::path m_copy;
};

/// What the recovery did with one copy left by an interrupted rewrite.
struct RecoveredRewrite
{
    std::filesystem::path file;
    bool restored = false; ///< the old bytes are back; false: they could not be put back
    int error = 0;         ///< why not
    std::filesystem::path copy; ///< where the old bytes stay when not put back
};

/// Puts back the old bytes of every file whose rewrite in place was cut off,
/// and drops copies no longer needed: the rewrite finished, or the file was
/// replaced or removed since. Copies of rewrites still running (locked) are
/// left alone. Reports what was put back or could not be.
std::vector<RecoveredRewrite> recoverInterruptedRewrites(const std::filesystem::path &stateFolder);

/// The message for the user (UTF-8).
std::string recoveryMessage(const RecoveredRewrite &recovered);

} // namespace tafelbau
