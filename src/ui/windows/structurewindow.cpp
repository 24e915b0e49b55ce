#include "ui/windows/structurewindow.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace tafelbau {

StructureWindow::StructureWindow(QWidget *owner) : QDialog(owner), m_list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Struktur prüfen"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(560, 240);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const QVariant lvid = item->data(Qt::UserRole);
        if (lvid.isValid())
            emit gadgetChosen(lvid.toInt());
    });
}

void StructureWindow::showProblems(const GdtList &list, const std::vector<StructureProblem> &problems)
{
    m_list->clear();
    if (problems.empty()) {
        m_list->addItem(QStringLiteral("Keine Probleme: der Code baut, was die Karten zeigen."));
        return;
    }
    for (const StructureProblem &p : problems) {
        auto *item = new QListWidgetItem(QString::fromUtf8(p.text), m_list);
        item->setData(Qt::UserRole, list.records()[static_cast<std::size_t>(p.record)].lvid);
    }
}

} // namespace tafelbau
