#include "core/codegen/codefileguard.h"

#include "core/document/atomicfile.h"
#include "core/document/latin1.h"
#include "core/document/statefolder.h"
#include "core/document/systemerror.h"

#include <cerrno>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

/// Where the hash for `code` is kept; empty without a state folder. The
/// file's real path names it, so that every way of naming the file finds
/// the same record.
fs::path recordFor(const fs::path &code, FileOps &files, fs::path &key)
{
    std::error_code ec;
    key = fs::weakly_canonical(fs::absolute(code, ec), ec);
    if (ec)
        key = fs::absolute(code, ec).lexically_normal();
    const fs::path folder = stateSubfolder(files.stateFolder(), "code-files");
    return folder.empty() ? fs::path() : folder / hexOf(contentHash(key.native()));
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
    fs::path key;
    const fs::path record = recordFor(code, files, key);
    std::string remembered;
    if (!record.empty() && readWholeFile(record, remembered)
        && remembered == hexOf(contentHash(existing)) + "\n" + key.native())
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
    const fs::path record = recordFor(code, files, key);
    if (record.empty())
        return;
    AtomicFile file(files);
    if (file.begin(record))
        (void)file.commit(hexOf(contentHash(bytes)) + "\n" + key.native(), false);
}

} // namespace tafelbau
