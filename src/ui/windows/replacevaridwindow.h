#pragma once

#include <QDialog>

class QLineEdit;

namespace tafelbau {

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
