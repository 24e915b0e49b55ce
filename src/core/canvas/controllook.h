#pragma once

#include "core/codegen/controltype.h"

#include <string>
#include <vector>

namespace tafelbau {

/// How the real-gadget drawing shows one card item beyond its frame.
struct ControlLook
{
    ControlType type;
    bool marked = false;  ///< selected: the marking frame goes on top of it
    bool clipped = false; ///< shown inside a container: only `clip` of it shows
    CardRect clip;
    std::vector<std::string> tabs;  ///< a panel's tab titles, Latin-1
    std::vector<std::string> items; ///< a list gadget's items (AddGadgetItem), Latin-1

    bool operator==(const ControlLook &) const = default;
};

} // namespace tafelbau
