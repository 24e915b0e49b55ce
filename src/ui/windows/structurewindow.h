#pragma once

#include "core/codegen/structurecheck.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QListWidget;

namespace tafelbau {

/// "Struktur prüfen": the problems of the list, one line each, beside the
/// main window. A click on a line asks for its gadget to be selected; the
/// window stays open while the user mends one after another.
class StructureWindow : public QDialog
{
    Q_OBJECT
public:
    explicit StructureWindow(QWidget *owner);

    /// Shows `problems` of `list` (which they were found in); a clean list
    /// says so in one line.
    void showProblems(const GdtList &list, const std::vector<StructureProblem> &problems);
    QListWidget *list() const { return m_list; }

signals:
    void gadgetChosen(std::int32_t lvid);

private:
    QListWidget *m_list;
};

} // namespace tafelbau
