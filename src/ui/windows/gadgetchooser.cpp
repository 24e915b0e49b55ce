#include "ui/windows/gadgetchooser.h"

#include "core/document/displayscale.h"
#include "ui/document/qtconvert.h"
#include "ui/document/widgetgeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

namespace tafelbau {

GadgetChooser::GadgetChooser(float scale, QWidget *owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(QString::fromUtf8("Neu: Gadget wählen (Doppelklick)"));
    resize(scaledPixels(280, scale), scaledPixels(500, scale));
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    placeScaled(m_list, scale, 10, 10, 260, 480);
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { emit chosen(item ? item->text() : QString()); });
    // Placed by the program, not left to the window manager.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void GadgetChooser::refill(const GdtPool &pool)
{
    m_list->clear();
    for (const PoolEntry &e : pool.entries)
        m_list->addItem(fromLatin1(e.name));
}

void GadgetChooser::closeEvent(QCloseEvent *event)
{
    // Kept for the rest of the run; "Hinzufügen" shows it again.
    event->ignore();
    hide();
}

} // namespace tafelbau
