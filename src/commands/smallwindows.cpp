#include "commands/smallwindows.h"

#include "app/startup.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tafelbau {

namespace {

QString fromLatin1(const std::string &s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

void place(QWidget *w, float scale, int x, int y, int width, int height)
{
    w->setGeometry(scaledPixels(x, scale), scaledPixels(y, scale), scaledPixels(width, scale),
                   scaledPixels(height, scale));
}

} // namespace

GadgetChooser::GadgetChooser(float scale, QWidget *owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(QString::fromUtf8("Neu: Gadget wählen (Doppelklick)"));
    resize(scaledPixels(280, scale), scaledPixels(500, scale));
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    place(m_list, scale, 10, 10, 260, 480);
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { emit chosen(item ? item->text() : QString()); });
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

InputBox::InputBox(const std::string &latin1Value, const QPoint &topLeft, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_value(latin1Value), m_result(latin1Value)
{
    setWindowTitle(QStringLiteral("Eingabe"));
    const int width = 3 * static_cast<int>(std::min<std::size_t>(latin1Value.size(), 2000)) + 150;
    setGeometry(topLeft.x(), topLeft.y(), width, 28);
    m_field = new QLineEdit(fromLatin1(latin1Value), this);
    m_field->setGeometry(5, 5, width - 10, 18);
    m_field->setFocus();
}

void InputBox::acceptText()
{
    m_result = m_field->text().toLatin1().toStdString();
    accept();
}

void InputBox::cancelEdit()
{
    m_result = m_value;
    reject();
}

void InputBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        acceptText();
        return;
    case Qt::Key_Escape:
        cancelEdit();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool InputBox::event(QEvent *event)
{
    // A click into another window ends the edit with the typed text.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        acceptText();
    return QDialog::event(event);
}

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
    ok->setDefault(true); // Enter accepts
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setGeometry(90, 230, 80, 18);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_list->setFocus();
}

std::vector<FlagItem> FlagsEditorWindow::items() const
{
    std::vector<FlagItem> out = m_items;
    for (int i = 0; i < m_list->count() && i < static_cast<int>(out.size()); ++i)
        out[static_cast<std::size_t>(i)].on = m_list->item(i)->isSelected();
    return out;
}

ReplaceVarIdWindow::ReplaceVarIdWindow(float scale, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QString::fromUtf8("TB Varid ändern"));
    setFixedSize(scaledPixels(255, scale), scaledPixels(170, scale));
    auto *warning = new QLabel(QString::fromUtf8("Vorsicht! Diese Funktion prüft nicht, ob Varids doppelt\nvorkommen!"),
                               this);
    warning->setWordWrap(true);
    place(warning, scale, 5, 20, 245, 60);
    place(new QLabel(QStringLiteral("Prefix:"), this), scale, 10, 90, 50, 15);
    m_prefix = new QLineEdit(this);
    m_prefix->setToolTip(QStringLiteral("Wird am Anfang von den selektierten Varids eingefügt"));
    place(m_prefix, scale, 60, 85, 80, 20);
    // Labels may use the gap before their field: fonts here run a little
    // wider than the ones these sizes were made for.
    place(new QLabel(QStringLiteral("Ersetzen:"), this), scale, 10, 115, 50, 15);
    m_search = new QLineEdit(this);
    place(m_search, scale, 60, 110, 80, 20);
    place(new QLabel(QStringLiteral("mit"), this), scale, 145, 115, 20, 15);
    m_replacement = new QLineEdit(this);
    place(m_replacement, scale, 165, 110, 80, 20);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    place(ok, scale, 6, 144, 60, 20);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    place(cancel, scale, 76, 144, 60, 20);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace tafelbau
