#include "ui/windows/inputbox.h"

#include "ui/document/qtconvert.h"

#include <QKeyEvent>
#include <QLineEdit>

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

bool InputBox::event(QEvent *event)
{
    // A click into another window ends the edit with the typed text.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        acceptText();
    return QDialog::event(event);
}

} // namespace tafelbau
