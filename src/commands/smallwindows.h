#pragma once

// The small windows of the list-editing commands. Each is a plain widget a
// test can drive without running its loop; the commands run them modally.
#include "pool/gdtpool.h"
#include "windows/flagitems.h"

#include <QDialog>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace tafelbau {

/// "Neu: Gadget wählen (Doppelklick)": the pool's names; activating one
/// (double-click or Enter) asks for a gadget of that type. Closing hides it.
class GadgetChooser : public QWidget
{
    Q_OBJECT
public:
    GadgetChooser(float scale, QWidget *owner);
    void refill(const GdtPool &pool);
    QListWidget *list() const { return m_list; }

signals:
    void chosen(const QString &latin1Name);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QListWidget *m_list;
};

/// The borderless one-line input box laid over the property list. Return
/// keeps the typed text, Escape the text it was given, and a click into
/// another window keeps the typed text too.
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

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *m_field;
    std::string m_value;
    std::string m_result;
};

/// The flags editor: one row per flag item, a click toggles a row.
class FlagsEditorWindow : public QDialog
{
    Q_OBJECT
public:
    FlagsEditorWindow(const std::vector<FlagItem> &items, const QPoint &topLeft, QWidget *owner);
    QListWidget *list() const { return m_list; }
    /// The items with `on` as the rows are selected now.
    std::vector<FlagItem> items() const;

private:
    std::vector<FlagItem> m_items;
    QListWidget *m_list;
};

/// "TB Varid ändern": prefix, search text and replacement.
class ReplaceVarIdWindow : public QDialog
{
    Q_OBJECT
public:
    ReplaceVarIdWindow(float scale, QWidget *owner);
    QLineEdit *prefix() const { return m_prefix; }
    QLineEdit *search() const { return m_search; }
    QLineEdit *replacement() const { return m_replacement; }

private:
    QLineEdit *m_prefix;
    QLineEdit *m_search;
    QLineEdit *m_replacement;
};

} // namespace tafelbau
