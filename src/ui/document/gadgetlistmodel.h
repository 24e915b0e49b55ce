#pragma once

#include "core/document/gdtlist.h"

#include <QAbstractListModel>

namespace tafelbau {

/// The gadget list view's rows: row i shows record i, indented by its level,
/// and carries its lvid. Rows are made when shown, so a list of ten thousand
/// gadgets costs nothing until it is scrolled.
class GadgetListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int LvidRole = Qt::UserRole;

    explicit GadgetListModel(const GdtList &list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    /// The list changed as a whole: rows are taken anew.
    void rebuild();
    /// One record's row text changed.
    void rowChanged(int row);

private:
    const GdtList &m_list;
    int m_rows = 0;
};

} // namespace tafelbau
