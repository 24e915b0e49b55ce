#pragma once

#include "core/document/gdtlist.h"

#include <string>

namespace tafelbau {

/// What a list command wants done with the change mark of the title.
enum class ChangeMark { Keep, Set, Clear };

/// The views a command leaves out of date. `rebuildList` stands for the full
/// rebuild (rows, card chooser, canvas and property list); the other flags
/// name the narrower updates a command asks for instead.
struct ViewUpdates
{
    bool rebuildList = false;
    bool applySelection = false; ///< row selection from the records' flags
    bool properties = false;     ///< property list refilled from the current row
    bool propertyValue = false;  ///< only the edited row of the property list
    bool currentRowText = false; ///< only the text of the current list row
    bool canvas = false;
    bool cardChooser = false;
    bool nextFreeCard = false;
    bool revealCurrent = false; ///< the list view scrolls the current row to its top

    bool operator==(const ViewUpdates &) const = default;
    bool any() const { return *this != ViewUpdates{}; }
};

/// The result of a command on the list, for the window to act on. The list's
/// cursor is left on `current` as well.
struct EditOutcome
{
    ChangeMark mark = ChangeMark::Keep;
    ViewUpdates views;
    int current = GdtList::kNone; ///< index of the current record afterwards
    std::string message;          ///< UTF-8 text for the message box; empty for none
};

} // namespace tafelbau
