#pragma once

#include "core/canvas/dialogpreview.h"

#include <QDialog>

#include <memory>
#include <vector>

namespace tafelbau {

class ControlPainter;

/// "Ansicht" -> "Vorschau": the dialog as a working window, one Qt widget
/// per gadget at its exact place and size, chosen from its template as the
/// real-gadget drawing chooses its look; a gadget no widget stands for is
/// painted as that drawing paints it. The Tab key goes through the gadgets
/// in list order. Built from a plan, a copy: nothing done in it reaches the
/// list. Escape or the close box ends it.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    explicit PreviewWindow(const PreviewPlan &plan, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    /// The widget of the plan's gadget `index` (a panel's page: its tab's
    /// page), in plan order. Each is named after its gadget's VarID.
    QWidget *gadgetWidget(std::size_t index) const { return m_widgets.at(index); }
    std::size_t gadgetCount() const { return m_widgets.size(); }

private:
    QWidget *makeWidget(const PreviewGadget &g, QWidget *parent);
    /// Where the gadgets created in `index` go.
    QWidget *innerOf(int index) const;

    std::vector<QWidget *> m_widgets;
    std::vector<QWidget *> m_inner;
    std::unique_ptr<ControlPainter> m_painter; ///< made for the first painted gadget
};

} // namespace tafelbau
