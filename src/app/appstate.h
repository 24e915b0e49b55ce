#pragma once

#include "app/programsettings.h"
#include "canvas/keyplacement.h"
#include "commands/addgadget.h"
#include "commands/listedit.h"
#include "document/gdtlist.h"
#include "pool/gdtpool.h"

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

    ProgramSettings settings;
    float displayScale = 1.0f;

    GdtPool pool;
    GdtList list;
    std::filesystem::path listFile; ///< empty for a new list
    bool changed = false;

    CopyBuffer copyBuffer;             ///< survives New and Open
    PlacementMode placement = PlacementMode::Move;
    NewGadgetPosition newGadgetPosition; ///< of the gadget the property list showed last
};

} // namespace tafelbau
