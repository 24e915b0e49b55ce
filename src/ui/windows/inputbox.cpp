#include "ui/windows/inputbox.h"

#include "ui/document/qtconvert.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

#include <algorithm>

namespace tafelbau {

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
    m_result = toLatin1(m_field->text());
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
    case Qt::Key_Enter: acceptText(); return;
    case Qt::Key_Escape: cancelEdit(); return;
    default: QDialog::keyPressEvent(event);
    }
}

std::string InputBox::run()
{
    // Not modal: a modal box would have Qt drop a click into the main window
    // before anyone sees it, and the edit is to end on that click. The
    // filter below takes every click instead, so no other command runs.
    qApp->installEventFilter(this);
    show();
    raise();
    activateWindow();
    m_field->setFocus();
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    loop.exec();
    qApp->removeEventFilter(this);
    return m_result;
}

bool InputBox::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (isVisible() && (t == QEvent::MouseButtonPress || t == QEvent::NonClientAreaMouseButtonPress)) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        const auto *window = qobject_cast<QWindow *>(watched);
        const bool inside = widget ? widget->window() == this : window ? window == windowHandle() : true;
        if (!inside) {
            acceptText();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool InputBox::event(QEvent *event)
{
    // A click into another window ends the edit with the typed text.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        acceptText();
    return QDialog::event(event);
}

} // namespace tafelbau
