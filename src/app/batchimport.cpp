#include "app/batchimport.h"

#include "codegen/codefile.h"
#include "codegen/syntaximport.h"
#include "document/latin1.h"
#include "document/listfile.h"

#include <cstdint>
#include <system_error>

namespace tafelbau {

int importIntoListFile(AppState &state, Dialogs &dialogs, const std::filesystem::path &source,
                       const std::filesystem::path &listFile, std::time_t now)
{
    // A list file named like a code file (dlg.pbi with the extension ".pbi")
    // would be overwritten by its own code right after it was saved.
    if (codeFileNames(listFile, state.pool.settings).code == listFile) {
        dialogs.showMessage(latin1ToUtf8("Fehler: Die Codedatei h\xE4tte denselben Namen wie die Gadgetliste: ")
                            + listFile.string());
        return 1;
    }
    std::error_code ec;
    if (std::filesystem::exists(listFile, ec)) {
        if (const Outcome loaded = loadListFile(listFile, state.pool, state.list); !loaded.ok) {
            dialogs.showMessage(loaded.message);
            return 1;
        }
    } else {
        state.list.clear();
    }
    state.listFile = listFile;

    // Standard error has room for every note.
    const SourceImport imported = importSourceFile(source, state.pool, state.list, SIZE_MAX);
    if (!imported.outcome.ok) {
        dialogs.showMessage(imported.outcome.message);
        return 1;
    }
    if (!imported.report.empty())
        dialogs.showMessage(imported.report);
    state.changed = true;
    if (const Outcome saved = writeListFile(listFile, state.list); !saved.ok) {
        dialogs.showMessage(saved.message);
        return 1;
    }
    state.changed = false;
    if (const Outcome written = generateCodeFile(listFile, state.list, state.pool.settings, now); !written.ok) {
        dialogs.showMessage(written.message);
        return 1;
    }
    return 0;
}

} // namespace tafelbau
