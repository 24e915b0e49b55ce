#pragma once

#include "core/pool/gdtpool.h"

#include <QWidget>

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

} // namespace tafelbau
