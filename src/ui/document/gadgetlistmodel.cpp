#include "ui/document/gadgetlistmodel.h"

#include "core/document/listviews.h"
#include "ui/document/qtconvert.h"

namespace tafelbau {

GadgetListModel::GadgetListModel(const GdtList &list, QObject *parent) : QAbstractListModel(parent), m_list(list)
{
    m_rows = list.size();
}

int GadgetListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant GadgetListModel::data(const QModelIndex &index, int role) const
{
    // The row count is the one of the last rebuild; a row past the list's
    // end (between a change and the rebuild that follows it) shows nothing.
    if (!index.isValid() || index.row() >= m_list.size())
        return {};
    const GadgetRecord &r = m_list.records()[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        const std::string text = gadgetRowText(r);
        return fromLatin1(text);
    }
    if (role == LvidRole)
        return r.lvid;
    return {};
}

void GadgetListModel::rowChanged(int row)
{
    if (row >= 0 && row < m_rows)
        emit dataChanged(index(row), index(row));
}

void GadgetListModel::rebuild()
{
    beginResetModel();
    m_rows = m_list.size();
    endResetModel();
}

} // namespace tafelbau
