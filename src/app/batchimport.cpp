#include "app/batchimport.h"

namespace tafelbau {

int importIntoListFile(AppState &, Dialogs &dialogs, const std::filesystem::path &, const std::filesystem::path &,
                       std::time_t)
{
    dialogs.showMessage("Import is not built yet.");
    return 1;
}

} // namespace tafelbau
