// The main program around a dialog's code file: the include, an empty
// procedure for every gadget that reports to the program, and the event
// loop that calls them. Written once, on request; from then on it belongs
// to the user and is never written over.
#pragma once

#include "core/document/gdtlist.h"
#include "core/pool/poolentry.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tafelbau {

/// Where a record's events reach the program's event loop.
enum class EventSource : std::uint8_t {
    None,     ///< nothing the user acts on, or no constant of its own
    Gadget,   ///< #PB_Event_Gadget with EventGadget() = its constant
    MenuItem, ///< #PB_Event_Menu with EventMenu() = its constant
};

/// The rule, read from the record's template: the first call of a function
/// that makes something the user acts on, in any letter case, outside
/// comments and strings, whose first argument is the record's own constant
/// "#[id]". Gadgets: buttons (also with images), check boxes, options,
/// string and editor fields, combo boxes, list views, list icons, trees,
/// spins, track bars, scroll bars, dates, calendars, hyperlinks, IP address
/// and shortcut fields, the explorer gadgets and canvases. Menu items:
/// MenuItem and the tool bar buttons. Everything else (windows, texts,
/// frames, images, containers, panels, pages, progress bars, splitters)
/// sends nothing worth a procedure. A record that is not drawn has no
/// constant and no event.
EventSource eventSourceOf(const GadgetRecord &record);

struct MainProgramFiles
{
    std::string listName;    ///< the gadget list's file name, for the header
    std::string includePath; ///< the code file relative to the program's folder, "/" between folders
};

/// The main program for `list` from the pool's templates (Latin-1, CR LF).
/// Procedures and cases follow list order.
std::string mainProgramBytes(const GdtList &list, const PoolSettings &settings, const MainProgramFiles &files);

/// "<list name without extension>_main.pb" beside the list.
std::filesystem::path defaultMainProgramPath(const std::filesystem::path &listPath);

/// `target` relative to the folder `from`, with "/" between its parts.
std::string pathFrom(const std::filesystem::path &from, const std::filesystem::path &target);

enum class NewFile : std::uint8_t { Written, Exists, Failed };

/// Writes `bytes` to `path` only when nothing is there yet: an existing
/// file is never written over, not even one that appears in the meantime.
/// A write that fails part way leaves no file behind.
NewFile writeNewFile(const std::filesystem::path &path, std::string_view bytes);

/// What the user is told when `path` is already there, or could not be
/// written (UTF-8).
std::string mainProgramExistsMessage(const std::filesystem::path &path);
std::string mainProgramFailedMessage(const std::filesystem::path &path);

} // namespace tafelbau
