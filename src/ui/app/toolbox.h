#pragma once

#include "core/pool/gdtpool.h"

#include <QDockWidget>
#include <QHash>
#include <QIcon>

#include <memory>

class QLineEdit;
class QListWidget;

namespace tafelbau {

class ControlPainter;
class MainWindow;

/// "Werkzeugkasten": the pool's gadgets that draw something, each with a
/// small picture of its control, filtered by what is typed above them.
/// Dragged onto the card, an entry adds its gadget where it is dropped; a
/// double-click (or Enter) adds it as the gadget chooser does.
class Toolbox : public QDockWidget
{
    Q_OBJECT
public:
    /// The drag's data: the pool entry's name, Latin-1.
    static constexpr const char *kMimeType = "application/x-tafelbau-pool-entry";

    explicit Toolbox(MainWindow &window);
    ~Toolbox() override;

    /// Shows the pool as it is now; pictures of unchanged entries are kept.
    void refill(const GdtPool &pool);
    QLineEdit *filter() const { return m_filter; }
    QListWidget *list() const { return m_list; }
    /// How many pictures were drawn so far (each entry once while it stays
    /// as it is).
    int picturesDrawn() const { return m_drawn; }

signals:
    /// The dock's close box: the "Ansicht" switch follows.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QIcon pictureOf(const PoolEntry &entry);
    void applyFilter();
    void dropOnCanvas(const QString &latin1Name, QPoint widgetPos);

    MainWindow &m_window;
    QLineEdit *m_filter;
    QListWidget *m_list;
    std::unique_ptr<ControlPainter> m_painter;
    QHash<QString, QIcon> m_pictures; ///< by the entry's name, template and size
    int m_drawn = 0;
};

} // namespace tafelbau
