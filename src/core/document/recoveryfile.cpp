#include "core/document/recoveryfile.h"

#include "core/document/atomicfile.h"
#include "core/document/listfile.h"
#include "core/document/statefolder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tafelbau {

namespace {

constexpr const char *kFolder = "recovery";

// Every way of naming a list finds the same recovery.
fs::path keyOf(const fs::path &listFile)
{
    return listFile.empty() ? fs::path() : realPathOf(listFile);
}

constexpr std::string_view kNewList = "new-";

fs::path baseFor(const fs::path &folder, const fs::path &listFile)
{
    if (listFile.empty())
        return folder / (std::string(kNewList) + std::to_string(::getpid()));
    return folder / hexOf(contentHash(keyOf(listFile).native()));
}

// Another process of that number runs: at start this process has written
// no recovery yet, so its own number found is one a crashed run had.
bool runningElsewhere(long pid)
{
    return pid > 0 && pid != static_cast<long>(::getpid())
        && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::optional<Recovery> recoveryAt(const fs::path &base)
{
    Recovery r;
    r.file = fs::path(base.native() + ".tbf");
    struct stat st = {};
    if (::stat(r.file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    r.written = st.st_mtim.tv_sec;
    std::string name;
    if (readWholeFile(fs::path(base.native() + ".list"), name))
        r.listFile = name;
    const std::string stem = base.filename().native();
    if (stem.starts_with(kNewList))
        r.writer = std::strtol(stem.c_str() + kNewList.size(), nullptr, 10);
    return r;
}

bool writeWhole(const fs::path &path, std::string_view bytes, FileOps &files)
{
    AtomicFile file(files);
    // Durable: a recovery is what is left after a power failure too.
    return file.begin(path) && file.commit(bytes);
}

} // namespace

bool writeRecovery(const fs::path &listFile, const GdtList &list, FileOps &files)
{
    const fs::path folder = stateSubfolder(files.stateFolder(), kFolder);
    if (folder.empty())
        return false;
    const fs::path base = baseFor(folder, listFile);
    // The name first: a recovery found without it would be offered as a new
    // list's.
    return writeWhole(fs::path(base.native() + ".list"), keyOf(listFile).native(), files)
        && writeWhole(fs::path(base.native() + ".tbf"), listFileBytes(list), files);
}

void removeRecovery(const fs::path &listFile, FileOps &files)
{
    const fs::path state = files.stateFolder();
    if (state.empty())
        return;
    Recovery r;
    r.file = fs::path(baseFor(state / kFolder, listFile).native() + ".tbf");
    removeRecovery(r);
}

void removeRecovery(const Recovery &recovery)
{
    std::error_code ec;
    fs::remove(recovery.file, ec);
    fs::remove(fs::path(recovery.file).replace_extension(".list"), ec);
}

std::optional<Recovery> findRecovery(const fs::path &listFile, FileOps &files)
{
    const fs::path state = files.stateFolder();
    if (state.empty())
        return std::nullopt;
    return recoveryAt(baseFor(state / kFolder, listFile));
}

std::optional<Recovery> newestRecovery(FileOps &files, const std::function<bool(const Recovery &)> &usable)
{
    const fs::path state = files.stateFolder();
    if (state.empty())
        return std::nullopt;
    std::optional<Recovery> newest;
    std::error_code ec;
    for (fs::directory_iterator it(state / kFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path &p = it->path();
        if (p.extension() != ".tbf")
            continue;
        auto r = recoveryAt(fs::path(p).replace_extension());
        if (!r || (r->writer != 0 && runningElsewhere(r->writer)) || (usable && !usable(*r)))
            continue;
        if (!newest || r->written > newest->written)
            newest = std::move(r);
    }
    return newest;
}

} // namespace tafelbau
