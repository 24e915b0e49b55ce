#include "core/codegen/codefileguard.h"

#include "core/document/atomicfile.h"
#include "core/document/latin1.h"
#include "core/document/statefolder.h"
#include "core/document/systemerror.h"

#include <cerrno>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

/// Where the hash for `code` is kept; empty without a state folder. The
/// file's real path names it, so that every way of naming the file finds
/// the same record.
fs::path recordFor(const fs::path &code, FileOps &files, fs::path &key)
{
    key = realPathOf(code);
    const fs::path folder = stateSubfolder(files.stateFolder(), "code-files");
    return folder.empty() ? fs::path() : folder / hexOf(contentHash(key.native()));
}

/// What is remembered of a code file written: its hash, and what stat(2)
/// told right after, so that a save need not read the file again while
/// nobody has touched it.
struct Record
{
    std::string hash;
    std::string stamp;
};

std::string stampOf(const struct stat &st)
{
    return std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec)
        + " " + std::to_string(st.st_ino);
}

/// The record's text: hash, stamp and the file's path, one a line.
std::string recordText(const Record &r, const fs::path &key)
{
    return r.hash + "\n" + r.stamp + "\n" + key.native();
}

/// The record kept in `file` for the code file `key`; nothing when there is
/// none, or it is another file's (the two paths' hashes met).
std::optional<Record> readRecord(const fs::path &file, const fs::path &key)
{
    std::string text;
    if (file.empty() || !readWholeFile(file, text))
        return std::nullopt;
    const std::size_t one = text.find('\n');
    const std::size_t two = one == std::string::npos ? one : text.find('\n', one + 1);
    if (two == std::string::npos || std::string_view(text).substr(two + 1) != key.native())
        return std::nullopt;
    return Record{text.substr(0, one), text.substr(one + 1, two - one - 1)};
}

/// Whether two code files differ in their date line (the second) at most.
bool sameButForDate(std::string_view a, std::string_view b)
{
    auto split = [](std::string_view s, std::string_view &first, std::string_view &rest) {
        const std::size_t one = s.find("\r\n");
        const std::size_t two = one == std::string_view::npos ? one : s.find("\r\n", one + 2);
        if (two == std::string_view::npos)
            return false;
        first = s.substr(0, one);
        rest = s.substr(two);
        return true;
    };
    std::string_view firstA, restA, firstB, restB;
    if (!split(a, firstA, restA) || !split(b, firstB, restB))
        return a == b;
    return firstA == firstB && restA == restB;
}

} // namespace

Outcome keepHandEdits(const fs::path &code, std::string_view newBytes, FileOps &files)
{
    fs::path key;
    const std::optional<Record> remembered = readRecord(recordFor(code, files, key), key);
    // Untouched since it was written: nothing to read.
    struct stat st = {};
    if (remembered && files.status(code, st) == 0 && remembered->stamp == stampOf(st))
        return {};
    std::string existing;
    int error = 0;
    if (!readWholeFile(code, existing, nullptr, &error)) {
        if (error == ENOENT)
            return {};
        // What cannot be read cannot be kept either: leave it as it is.
        return Outcome::failure(
            withSystemReason(latin1ToUtf8("Fehler: Kann Codedatei nicht speichern: ") + code.string(), error));
    }
    if (existing.empty() || sameButForDate(existing, newBytes))
        return {};
    // Touched but not changed: its bytes are still the ones written.
    if (remembered && remembered->hash == hexOf(contentHash(existing)))
        return {};
    const fs::path bak = code.native() + ".bak";
    AtomicFile copy(files);
    if (!copy.begin(bak) || !copy.commit(existing))
        return Outcome::failure(latin1ToUtf8("Fehler: Kann Codedatei nicht speichern: ") + code.string()
                                + latin1ToUtf8("\r\nSie wurde au\xDF"
                                               "erhalb von Tafelbau ge\xE4ndert, und die Sicherungskopie ")
                                + bak.string() + latin1ToUtf8(" l\xE4sst sich nicht anlegen: ")
                                + systemReason(copy.error()));
    Outcome kept;
    kept.notice = latin1ToUtf8("Die Codedatei war nicht mehr so, wie Tafelbau sie zuletzt geschrieben hat; "
                               "ihr bisheriger Inhalt liegt jetzt in: ")
        + bak.string();
    return kept;
}

void rememberCodeFile(const fs::path &code, std::string_view bytes, FileOps &files)
{
    fs::path key;
    const fs::path recordFile = recordFor(code, files, key);
    struct stat st = {};
    if (recordFile.empty() || files.status(code, st) != 0)
        return;
    AtomicFile file(files);
    if (file.begin(recordFile))
        (void)file.commit(recordText({hexOf(contentHash(bytes)), stampOf(st)}, key), false);
}

} // namespace tafelbau
