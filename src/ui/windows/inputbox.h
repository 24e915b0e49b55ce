#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace tafelbau {

/// The borderless one-line input box laid over the property list. Return
/// keeps the typed text, Escape the text it was given, and a click anywhere
/// outside it -- the main window included -- keeps the typed text too.
class InputBox : public QDialog
{
    Q_OBJECT
public:
    InputBox(const std::string &latin1Value, const QPoint &topLeft, QWidget *owner);
    QLineEdit *field() const { return m_field; }
    /// What the edit gives back, once it has ended (or now, for a test).
    std::string result() const { return m_result; }
    void acceptText();
    void cancelEdit();

    /// Shows the box and waits until the edit ends; its result.
    std::string run();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *m_field;
    std::string m_value;
    std::string m_result;
};

} // namespace tafelbau
