#include "ui/app/toolbox.h"

#include "core/canvas/controlitems.h"
#include "core/canvas/designcommands.h"
#include "core/commands/addgadget.h"
#include "ui/app/editcommands.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"
#include "ui/canvas/controlpainter.h"
#include "ui/document/qtconvert.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace tafelbau {

namespace {

constexpr QSize kPictureSize(64, 36);

/// The list hands out the entry's name, not Qt's item data, to a drag.
class EntryList : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    QStringList mimeTypes() const override { return {QString::fromLatin1(Toolbox::kMimeType)}; }
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override
    {
        if (items.isEmpty())
            return nullptr;
        auto *mime = new QMimeData;
        mime->setData(QString::fromLatin1(Toolbox::kMimeType), items.first()->text().toLatin1());
        return mime;
    }
};

} // namespace

Toolbox::Toolbox(MainWindow &window)
    : QDockWidget(QStringLiteral("Werkzeugkasten"), &window), m_window(window), m_filter(new QLineEdit),
      m_list(new EntryList)
{
    setObjectName(QStringLiteral("toolbox"));
    auto *inner = new QWidget(this);
    auto *layout = new QVBoxLayout(inner);
    layout->setContentsMargins(2, 2, 2, 2);
    m_filter->setPlaceholderText(QStringLiteral("Suchen"));
    m_filter->setClearButtonEnabled(true);
    layout->addWidget(m_filter);
    m_list->setIconSize(kPictureSize);
    m_list->setDragEnabled(true);
    m_list->setDragDropMode(QAbstractItemView::DragOnly);
    m_list->setUniformItemSizes(true);
    layout->addWidget(m_list);
    setWidget(inner);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    connect(m_filter, &QLineEdit::textChanged, this, &Toolbox::applyFilter);
    // Typing in the list goes on in the filter.
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        m_window.editCommands()->addGadgetFromPool(item->text().toLatin1().toStdString());
    });

    CardCanvas *canvas = window.canvas();
    canvas->setAcceptDrops(true);
    canvas->installEventFilter(this);
}

Toolbox::~Toolbox() = default;

void Toolbox::refill(const GdtPool &pool)
{
    m_list->clear();
    for (const PoolEntry &entry : pool.entries) {
        // Code that draws nothing has no place on the card to be dropped on.
        if (entry.dontshow != 0)
            continue;
        m_list->addItem(new QListWidgetItem(pictureOf(entry), fromLatin1(entry.name)));
    }
    applyFilter();
}

QIcon Toolbox::pictureOf(const PoolEntry &entry)
{
    const QString key = fromLatin1(entry.name) + QChar(0x1F) + fromLatin1(entry.code) + QChar(0x1F)
        + QString::number(entry.xd) + QLatin1Char('x') + QString::number(entry.yd);
    if (const auto it = m_pictures.constFind(key); it != m_pictures.constEnd())
        return *it;
    if (!m_painter)
        m_painter = std::make_unique<ControlPainter>(QApplication::style(), CardCanvas::captionFont());

    // The gadget as "Echte Gadgets" draws it, with a short caption, at its
    // pool size where that is small; bigger ones are drawn at most twice
    // the picture's size, so that they still look like themselves when
    // scaled down to it.
    GdtList one;
    GadgetRecord r = recordFromPool(one, entry);
    r.text = "Ab";
    r.xd = std::clamp(r.xd, 16, 2 * kPictureSize.width());
    r.yd = std::clamp(r.yd, 12, 2 * kPictureSize.height());
    one.append(r);
    const std::vector<CardItem> items = controlItems(one, 0, 0, m_painter->metrics());
    QIcon icon;
    if (!items.empty()) {
        const QRect bounds = m_painter->bounds(items.front()).intersected(QRect(-40, -40, 240, 160));
        QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.translate(-bounds.topLeft());
            m_painter->paint(p, items, bounds, bounds);
        }
        QPixmap picture(kPictureSize);
        picture.fill(Qt::transparent);
        {
            QPainter p(&picture);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            const QImage scaled = image.size().boundedTo(kPictureSize) == image.size()
                ? image
                : image.scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            p.drawImage((kPictureSize.width() - scaled.width()) / 2, (kPictureSize.height() - scaled.height()) / 2,
                        scaled);
        }
        icon = QIcon(picture);
    }
    ++m_drawn;
    m_pictures.insert(key, icon);
    return icon;
}

void Toolbox::applyFilter()
{
    const QString wanted = m_filter->text().trimmed();
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        item->setHidden(!item->text().contains(wanted, Qt::CaseInsensitive));
    }
}

void Toolbox::dropOnCanvas(const QString &latin1Name, QPoint widgetPos)
{
    AppState &s = m_window.state();
    const QPoint p = widgetPos - m_window.canvas()->cardOrigin();
    const std::string name = latin1Name.toLatin1().toStdString();
    CardCanvas *canvas = m_window.canvas();
    // Only the real-gadget drawing shows a panel's page inside the panel.
    DropPlace place{m_window.shownCard(), {p.x(), p.y()}};
    if (canvas->realGadgets())
        place = dropPlace(s.list, place.card, place.at, canvas->controlMetrics());
    m_window.runEdit("Hinzufügen", "", [&] {
        m_window.applyOutcome(addGadgetAt(s.list, s.pool, name, place.card, place.at, s.settings.panelRaster));
    });
    m_window.canvas()->setFocus(Qt::OtherFocusReason);
}

void Toolbox::closeEvent(QCloseEvent *event)
{
    QDockWidget::closeEvent(event);
    emit closedByUser();
}

bool Toolbox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
                m_filter->setFocus();
                m_filter->insert(key->text());
                return true;
            }
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (!drag->mimeData()->hasFormat(QString::fromLatin1(kMimeType)))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData()->hasFormat(QString::fromLatin1(kMimeType)))
            return false;
        drop->acceptProposedAction();
        dropOnCanvas(QString::fromLatin1(drop->mimeData()->data(QString::fromLatin1(kMimeType))),
                     drop->position().toPoint());
        return true;
    }
    default: return false;
    }
}

} // namespace tafelbau
