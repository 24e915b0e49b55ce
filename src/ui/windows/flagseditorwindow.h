#pragma once

#include "core/windows/flagitems.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace tafelbau {

/// The flags editor: one row per flag item, a click toggles a row.
class FlagsEditorWindow : public QDialog
{
    Q_OBJECT
public:
    FlagsEditorWindow(const std::vector<FlagItem> &items, const QPoint &topLeft, QWidget *owner);
    QListWidget *list() const { return m_list; }
    /// The items with `on` as the rows are selected now.
    std::vector<FlagItem> items() const;

private:
    std::vector<FlagItem> m_items;
    QListWidget *m_list;
};

} // namespace tafelbau
