#include "ui/app/compilerdock.h"

#include <QFontDatabase>
#include <QListWidget>

namespace tafelbau {

namespace {
constexpr int kLvidRole = Qt::UserRole;
}

CompilerDock::CompilerDock(QWidget *parent) : QDockWidget(QStringLiteral("Compiler"), parent)
{
    setObjectName(QStringLiteral("compilerdock"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    m_lines = new QListWidget(this);
    m_lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    setWidget(m_lines);
    connect(m_lines, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const QVariant lvid = item->data(kLvidRole);
        if (lvid.isValid())
            emit gadgetClicked(lvid.value<std::int32_t>());
    });
}

void CompilerDock::clear()
{
    m_lines->clear();
}

void CompilerDock::addLine(const QString &text, std::optional<std::int32_t> lvid)
{
    auto *item = new QListWidgetItem(text, m_lines);
    if (lvid) {
        item->setData(kLvidRole, QVariant::fromValue(*lvid));
        // The rows that lead to a gadget look like what they do.
        QFont f = m_lines->font();
        f.setUnderline(true);
        item->setFont(f);
        item->setToolTip(QStringLiteral("Klick markiert das Gadget"));
    }
    m_lines->scrollToItem(item);
}

} // namespace tafelbau
