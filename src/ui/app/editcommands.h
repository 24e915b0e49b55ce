#pragma once

#include "core/windows/flagitems.h"
#include "ui/windows/largetexteditor.h"

#include <QObject>
#include <QPoint>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tafelbau {

class GadgetChooser;
class MainWindow;

/// The list-editing commands of the main window: adding from the pool,
/// delete, move, indent, copy and paste, value editing, keyboard placement,
/// card assignment, code reset and identifier replacement. Plugs them into
/// the window's command table.
///
/// The modal small windows are reached through replaceable functions, so a
/// test scripts them as it scripts the message boxes.
class EditCommands : public QObject
{
    Q_OBJECT
public:
    explicit EditCommands(MainWindow &window);

    struct Windows
    {
        /// The input box: the value to edit and where it opens; the text it
        /// gives back (the value itself on Escape).
        std::function<std::string(const std::string &latin1Value, QPoint topLeft)> inputBox;
        /// The flags editor; nullopt when cancelled.
        std::function<std::optional<std::vector<FlagItem>>(const std::vector<FlagItem> &, QPoint topLeft)> flagsEditor;
        /// "Varid ersetzen": prefix, search text, replacement (Latin-1); nullopt when cancelled.
        std::function<std::optional<std::array<std::string, 3>>()> replaceVarIds;
        /// "Umfangreiche Texteingabe" on a record's text; true when accepted.
        std::function<bool(GadgetRecord &)> largeText;
    };
    Windows windows;

    GadgetChooser *chooser() const { return m_chooser; }

    void showGadgetChooser();
    void addGadgetFromPool(const std::string &latin1Name);
    void editPropertyRow();
    void importFromCode();
    void editLargeText();
    void editPool();

private:
    void step(int id);

    MainWindow &m_window;
    GadgetChooser *m_chooser = nullptr;
    LargeTextSession m_largeText; ///< the wrap width, kept for the run
};

} // namespace tafelbau
