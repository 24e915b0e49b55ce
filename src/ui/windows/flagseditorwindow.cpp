#include "ui/windows/flagseditorwindow.h"

#include "ui/document/qtconvert.h"

#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

namespace tafelbau {

FlagsEditorWindow::FlagsEditorWindow(const std::vector<FlagItem> &items, const QPoint &topLeft, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_items(items)
{
    setWindowTitle(QString::fromLatin1(kFlagsEditorTitle));
    setGeometry(topLeft.x(), topLeft.y(), 200, 250);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection); // a click toggles its row
    m_list->setGeometry(3, 3, 194, 224);
    for (const FlagItem &item : m_items) {
        auto *row = new QListWidgetItem(fromLatin1(item.name), m_list);
        row->setSelected(item.on);
    }
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(5, 230, 80, 18);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setGeometry(90, 230, 80, 18);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Return accepts wherever the focus is: the list would take it as a row
    // activation and a focused "Abbrechen" as its own click.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QDialog::accept);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QDialog::reject);
    m_list->setFocus();
}

std::vector<FlagItem> FlagsEditorWindow::items() const
{
    std::vector<FlagItem> out = m_items;
    for (int i = 0; i < m_list->count() && i < static_cast<int>(out.size()); ++i)
        out[static_cast<std::size_t>(i)].on = m_list->item(i)->isSelected();
    return out;
}

} // namespace tafelbau
