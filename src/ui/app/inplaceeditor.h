#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>

#include <cstdint>

namespace tafelbau {

class MainWindow;

/// Editing a gadget's caption right on the card: a double-click on a gadget
/// or F2 ("Text bearbeiten") opens a one-line editor over it; Return or a
/// click elsewhere keeps the text, Escape drops it. Templates without a
/// caption get their VarID edited instead. A double-click on a panel's tab
/// edits that page's caption. The change goes the input box's
/// way, as one step of the history.
class InPlaceEditor : public QObject
{
    Q_OBJECT
public:
    explicit InPlaceEditor(MainWindow &window);

    /// Opens the editor over the current gadget when it is drawn on the
    /// card shown; false when there is none.
    bool edit();
    /// The editor while it is open, else nullptr.
    QLineEdit *editor() const { return m_editor; }
    void finish(bool keep);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainWindow &m_window;
    QPointer<QLineEdit> m_editor;
    std::int32_t m_lvid = 0; ///< of the record being edited
    int m_row = 0;           ///< its property row: the caption or the VarID
    std::int32_t m_tabPage = 0; ///< the page whose tab was just pressed, by lvid
};

} // namespace tafelbau
