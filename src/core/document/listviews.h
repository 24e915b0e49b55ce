#pragma once

#include "core/document/gadgetrecord.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tafelbau {

/// Row text of the gadget list view: two blanks per indent level, then the
/// VarID. A negative level indents nothing.
std::string gadgetRowText(const GadgetRecord &record);

/// The 22 rows of the property list: label and value, Latin-1.
std::vector<std::pair<std::string, std::string>> propertyRows(const GadgetRecord &record);

/// " Tafelbau 0.583 - " + the file name of `listFile` + " *" when changed;
/// without a list file " Tafelbau 0.583" (+ " *"). UTF-8 (the file name is
/// a Linux file name).
std::string windowTitle(const std::filesystem::path &listFile, bool changed);

/// The row a refresh scrolls into view so that the last selected row is
/// shown with two rows below it, or with the rows there are near the end;
/// -1 for an empty list.
int scrollTargetRow(int lastSelectedIndex, int rowCount);

} // namespace tafelbau
