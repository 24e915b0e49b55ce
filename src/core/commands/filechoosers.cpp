#include "core/commands/filechoosers.h"

#include <system_error>

namespace tafelbau {

namespace {

bool isFolder(const std::filesystem::path &path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::optional<std::filesystem::path> remembered(std::optional<std::filesystem::path> chosen,
                                                const ChooserFolders &folders)
{
    if (chosen)
        if (std::string folder = folderToRemember(*chosen); !folder.empty())
            folders.lastFolder = std::move(folder);
    return chosen;
}

} // namespace

std::filesystem::path chooserStart(const ChooserFolders &folders, const std::filesystem::path &name)
{
    if (!folders.listFile.empty()) {
        const std::filesystem::path listFolder = folders.listFile.parent_path();
        // A list named without a folder lies in the working folder, where
        // the chooser looks anyway.
        if (listFolder.empty())
            return name;
        if (isFolder(listFolder))
            return listFolder / name;
    }
    if (isFolder(folders.lastFolder))
        return std::filesystem::path(folders.lastFolder) / name;
    return name;
}

std::string folderToRemember(const std::filesystem::path &chosen)
{
    const std::string folder = chosen.parent_path().string();
    if (folder.empty() || folder.front() != '/' || folder.find_first_of("\r\n") != std::string::npos)
        return {};
    // The value starts with "/"; its end is what a read would trim.
    if (folder.back() == ' ' || folder.back() == '\t')
        return {};
    return folder;
}

std::optional<std::filesystem::path> chooseFileToOpen(Dialogs &dialogs, const ChooserFolders &folders,
                                                      const std::string &title, const std::filesystem::path &name,
                                                      const std::string &filter)
{
    return remembered(dialogs.chooseOpenFile(title, chooserStart(folders, name), filter), folders);
}

std::optional<std::filesystem::path> chooseFileToSave(Dialogs &dialogs, const ChooserFolders &folders,
                                                      const std::string &title, const std::filesystem::path &name,
                                                      const std::string &filter)
{
    return remembered(dialogs.chooseSaveFile(title, chooserStart(folders, name), filter), folders);
}

} // namespace tafelbau
