#pragma once

#include "core/app/programsettings.h"
#include "core/windows/sideview.h"

#include <QMainWindow>

class QScrollArea;

namespace tafelbau {

class CodeView;

/// The main window's canvas area: the card's scroll area, with the code
/// view docked on its left or right. The two share the area's width, so
/// that showing the view never widens the window and the labels above the
/// canvas stay where they are; the view may float as a window of its own.
///
/// The view's width follows the user: the one it was dragged to is kept in
/// the program settings, and when the window grows after squeezing it, the
/// view takes that width back before the canvas grows.
class CanvasHost : public QMainWindow
{
    Q_OBJECT
public:
    /// `area` becomes the central widget. `settings` must outlive the host.
    CanvasHost(QScrollArea *area, ViewSettings &settings, float scale, QWidget *parent);

    /// Docks `view` on the side the settings name, hidden.
    void addCodeView(CodeView *view);

    /// Shows or hides the code view; shown docked, it takes its width from
    /// the canvas.
    void showCodeView(bool shown);
    /// Keeps the side of the canvas the view is docked on, while it is.
    void noteCodeViewSide();

    /// The narrowest the view and the canvas beside it become.
    int codeViewMinimum() const;
    int canvasMinimum() const;

    /// None: its one entry would hide the view behind the back of the
    /// "Ansicht" menu and the settings.
    QMenu *createPopupMenu() override { return nullptr; }

protected:
    bool event(QEvent *event) override;

private:
    bool codeViewDocked() const;
    SideViewRoom room() const;
    /// Gives the docked view the width closest to `wanted` that leaves the
    /// canvas its minimum.
    void fitCodeView(int wanted);

    ViewSettings &m_settings;
    float m_scale;
    CodeView *m_view = nullptr;
    /// The width the view was last given or dragged to, for this run.
    int m_wanted = 0;
};

} // namespace tafelbau
