#include "core/app/installlayout.h"

#include "core/document/atomicfile.h"
#include "core/document/latin1.h"

#include <system_error>

namespace fs = std::filesystem;

// The build passes the folders as GNUInstallDirs places them; these are the
// defaults of that module.
#ifndef TAFELBAU_LIBRARY_FROM_BIN
#define TAFELBAU_LIBRARY_FROM_BIN "../lib/tafelbau"
#endif
#ifndef TAFELBAU_DATA_FROM_BIN
#define TAFELBAU_DATA_FROM_BIN "../share/tafelbau"
#endif

namespace tafelbau {

namespace {

bool isThere(const fs::path &p)
{
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(p, ec).type();
    return type != fs::file_type::not_found && type != fs::file_type::none;
}

} // namespace

InstallLayout InstallLayout::built()
{
    return {TAFELBAU_LIBRARY_FROM_BIN, TAFELBAU_DATA_FROM_BIN};
}

fs::path editorLibraryFile(const fs::path &programFolder, const std::string &name, const InstallLayout &layout)
{
    const fs::path beside = programFolder / name;
    if (isThere(beside))
        return beside;
    const fs::path installed = (programFolder / layout.libraryFromBin / name).lexically_normal();
    return isThere(installed) ? installed : beside;
}

fs::path shippedPoolFile(const fs::path &programFolder, const InstallLayout &layout)
{
    return (programFolder / layout.dataFromBin / kPoolFileName).lexically_normal();
}

fs::path userDataFolder(const std::string &xdgDataHome, const std::string &home)
{
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
        return xdgDataHome;
    if (!home.empty())
        return fs::path(home) / ".local" / "share";
    return {};
}

fs::path choosePoolFile(const fs::path &programFolder, const fs::path &userData, const fs::path &shipped,
                        Dialogs &dialogs)
{
    std::error_code ec;
    const fs::path beside = programFolder / kPoolFileName;
    if (fs::is_regular_file(beside, ec))
        return beside;
    // Without a home there is no place for a copy; the shipped pool is read
    // as it is, and a pool editor save reports its own failure.
    if (userData.empty())
        return shipped;
    const fs::path own = userData / "Tafelbau" / kPoolFileName;
    // Whatever the user's file holds is theirs: the loader judges it.
    if (isThere(own))
        return own;

    fs::create_directories(own.parent_path(), ec);
    std::string bytes;
    if (!readWholeFile(shipped, bytes)) {
        dialogs.showMessage(
            latin1ToUtf8("Fehler: Die mitgelieferte Gadget-Pool-Datei fehlt oder ist nicht lesbar: \r\n")
            + shipped.string()
            + latin1ToUtf8("\r\nDer Gadget-Pool bleibt leer; der Pool-Editor speichert ihn nach: \r\n") + own.string());
        return own;
    }
    AtomicFile copy;
    if (!copy.begin(own) || !copy.commit(bytes)) {
        dialogs.showMessage(latin1ToUtf8("Fehler: Kann Gadget-Pool-Datei nicht anlegen: \r\n") + own.string()
                            + latin1ToUtf8("\r\nEs wird die mitgelieferte Datei gelesen; \xC4nderungen im Pool-Editor "
                                           "lassen sich dort nicht speichern: \r\n")
                            + shipped.string());
        return shipped;
    }
    return own;
}

} // namespace tafelbau
