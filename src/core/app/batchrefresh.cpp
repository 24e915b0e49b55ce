#include "core/app/batchrefresh.h"

#include "core/codegen/codefile.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"

namespace tafelbau {

std::optional<std::filesystem::path> listFileForCodeFile(const std::string &codeFile, const PoolSettings &settings)
{
    if (codeFile.empty())
        return std::nullopt;
    const std::size_t nameStart = codeFile.find_last_of("/\\");
    const std::size_t fileName = nameStart == std::string::npos ? 0 : nameStart + 1;
    const std::size_t dot = codeFile.rfind('.');
    const bool hasDot = dot != std::string::npos && dot >= fileName;
    const std::string ext = hasDot ? foldedCopy(std::string_view(codeFile).substr(dot + 1)) : std::string();
    std::string wanted;
    for (char c : settings.codeFileExt)
        if (c != '.')
            wanted.push_back(foldAscii(c));
    if (ext != wanted)
        return std::nullopt;
    if (!hasDot)
        return std::filesystem::path(codeFile + ".tbf");
    return std::filesystem::path(codeFile.substr(0, codeFile.size() - ext.size()) + "tbf");
}

int refreshCode(AppState &state, Dialogs &dialogs, const std::string &codeFile, std::time_t now,
                const BatchNote &note)
{
    const auto listPath = listFileForCodeFile(codeFile, state.pool.settings);
    if (!listPath)
        return 0;
    if (const Outcome loaded = loadListFile(*listPath, state.list, frameColoursOf(state.pool)); !loaded.ok) {
        dialogs.showMessage(loaded.message);
        return 1;
    }
    state.listFile = *listPath;
    // The code file written is the one named, whatever the letter case of
    // its extension; the export file goes where a save would put it.
    const CodeFileNames names{codeFile, codeFileNames(*listPath, state.pool.settings).exportFile};
    const Outcome written = writeCodeFiles(names, *listPath, state.list, state.pool.settings, now);
    if (!written.ok) {
        dialogs.showMessage(written.message);
        return 1;
    }
    if (!written.notice.empty() && note)
        note(written.notice);
    return 0;
}

} // namespace tafelbau
