#include "core/app/batchimport.h"

#include "core/codegen/codefile.h"
#include "core/codegen/structurecheck.h"
#include "core/codegen/syntaximport.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"

#include <cstdint>
#include <system_error>

namespace tafelbau {

int importIntoListFile(AppState &state, Dialogs &dialogs, const std::filesystem::path &source,
                       const std::filesystem::path &listFile, std::time_t now, const BatchNote &note)
{
    // A list file named like a code file (dlg.pbi with the extension ".pbi")
    // would be overwritten by its own code right after it was saved.
    const CodeFileNames names = codeFileNames(listFile, state.pool.settings);
    for (const std::filesystem::path &generated : {names.code, names.exportFile}) {
        if (sameFile(generated, listFile)) {
            dialogs.showMessage(sameFileMessage(generated));
            return 1;
        }
    }
    // A hand-written source named like the list's code file would be read,
    // and then replaced by the code generated from it.
    if (const std::string conflict = importSourceConflict(source, listFile, state.pool.settings);
        !conflict.empty()) {
        dialogs.showMessage(conflict);
        return 1;
    }
    std::error_code ec;
    if (std::filesystem::exists(listFile, ec)) {
        if (const Outcome loaded = loadListFile(listFile, state.list, frameColoursOf(state.pool)); !loaded.ok) {
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
    TextEncoding encoding = state.list.encoding();
    if (const Outcome saved = writeListFile(listFile, state.list, FileOps::system(), &encoding); !saved.ok) {
        dialogs.showMessage(saved.message);
        return 1;
    }
    state.list.setEncoding(encoding);
    state.changed = false;
    const Outcome written = generateCodeFile(listFile, state.list, state.pool.settings, now);
    if (!written.ok) {
        dialogs.showMessage(written.message);
        return 1;
    }
    if (!written.notice.empty() && note)
        note(written.notice);
    return 0;
}

int checkListFile(AppState &state, Dialogs &dialogs, const std::filesystem::path &listFile,
                  const std::function<void(const std::string &)> &out)
{
    if (const Outcome loaded = loadListFile(listFile, state.list, frameColoursOf(state.pool)); !loaded.ok) {
        dialogs.showMessage(loaded.message);
        return 1;
    }
    const std::vector<StructureProblem> problems = checkStructure(state.list);
    for (const StructureProblem &p : problems)
        out(p.text);
    return problems.empty() ? 0 : 1;
}

} // namespace tafelbau
