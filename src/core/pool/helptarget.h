#pragma once

#include <string>

namespace tafelbau {

/// Where F1 leads: a classic help file looked up by keyword, or a compiled
/// HTML help file opened at a page.
struct HelpTarget
{
    enum class Kind { Classic, Compiled };
    Kind kind = Kind::Compiled;
    std::string file;     ///< Latin-1, as the pool holds it
    std::string topic;    ///< keyword or page path; may be empty
    std::string location; ///< compiled help: file + "::/" + topic, or the file alone
};

/// An empty `file` means the general help file. ".hlp" at the end of a name
/// longer than four characters, in any case, makes classic help.
HelpTarget helpTargetFor(const std::string &file, const std::string &topic, const std::string &generalHelpFile);

} // namespace tafelbau
