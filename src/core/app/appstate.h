#pragma once

#include "core/app/programsettings.h"
#include "core/canvas/keyplacement.h"
#include "core/commands/addgadget.h"
#include "core/commands/documentcommands.h"
#include "core/commands/history.h"
#include "core/commands/listedit.h"
#include "core/document/gdtlist.h"
#include "core/pool/gdtpool.h"

#include <filesystem>

namespace tafelbau {

/// The program-wide state, passed by reference to whatever needs it.
struct AppState
{
    std::filesystem::path programFolder;
    std::filesystem::path dataFolder;
    std::filesystem::path settingsFile;
    std::filesystem::path poolFile;
    std::filesystem::path startFile;
    std::filesystem::path stateFolder; ///< the user's state folder; empty when none is known

    ProgramSettings settings;
    float displayScale = 1.0f;

    GdtPool pool;
    GdtList list;
    std::filesystem::path listFile; ///< empty for a new list
    bool changed = false;

    History history; ///< of the list's changes; emptied by New and Open
    CopyBuffer copyBuffer; ///< survives New and Open
    PlacementMode placement = PlacementMode::Move;
    NewGadgetPosition newGadgetPosition; ///< of the gadget the property list showed last

    DocumentState document() { return {list, listFile, changed, pool, history, settings.lastFolder}; }
};

} // namespace tafelbau
