// Designing with the mouse as a user does it: drags, grips, the rubber band,
// Escape, Ctrl+click, the raster and the "Ausrichten" menu, with synthetic
// mouse events on the card canvas and the keys of the window.
#include "core/canvas/mousedrag.h"
#include "core/commands/valueedit.h"
#include "ui/canvas/dragscroller.h"
#include "ui/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

using namespace tafelbau;

namespace {

using Rect = std::array<std::int32_t, 4>;

} // namespace

class MouseDesignTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT

    void press(int x, int y, Qt::KeyboardModifiers mods = {})
    {
        QTest::mousePress(canvas(), Qt::LeftButton, mods, at(x, y));
    }
    void moveTo(int x, int y) { QTest::mouseMove(canvas(), at(x, y)); }
    void release(int x, int y, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseRelease(canvas(), Qt::LeftButton, mods, at(x, y));
    }
    /// Press, two moves, release: as a hand does it.
    void drag(int x, int y, int dx, int dy, Qt::KeyboardModifiers mods = {})
    {
        press(x, y, mods);
        moveTo(x + dx / 2, y + dy / 2);
        moveTo(x + dx, y + dy);
        release(x + dx, y + dy, mods);
    }
    void click(int x, int y, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(canvas(), Qt::LeftButton, mods, at(x, y));
    }
    /// The mouse over the canvas with no button held.
    Qt::CursorShape cursorOver(int x, int y)
    {
        QMouseEvent hover(QEvent::MouseMove, QPointF(at(x, y)), canvas()->mapToGlobal(QPointF(at(x, y))), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &hover);
        return canvas()->cursor().shape();
    }

    Rect rectOf(int record) const
    {
        const GadgetRecord &r = m_state.list.records()[static_cast<std::size_t>(record)];
        return {r.x, r.y, r.xd, r.yd};
    }
    QString selected() const { return ids(true); }
    QString property(int row) const { return m_window->propertyList()->item(row, 1)->text(); }
    /// Whether an entry of "Bearbeiten" is enabled when the menu opens.
    bool enabled(int id)
    {
        QMenu *editing = m_window->menuBar()->actions()[1]->menu();
        emit editing->aboutToShow();
        return m_window->menuAction(id)->isEnabled();
    }
    bool marked() const { return m_window->windowTitle().endsWith(" *"); }

private slots:
    void init()
    {
        begin();
        m_state.pool.settings.codeFileExt = ".pbi";
        m_state.pool.settings.codeComment = ";";
        // A window at 0,0 and four buttons, B1 on the raster.
        GdtList list;
        list.append(testutil::window("Win", 0));
        list.append(testutil::button("B1", 50, 50, 100, 25));
        list.append(testutil::button("B2", 50, 100, 80, 25));
        list.append(testutil::button("B3", 60, 150, 90, 25));
        list.append(testutil::button("B4", 200, 210, 50, 20));
        QVERIFY(openWindowWith(list));
    }

    void cleanup() { end(); }

    // Drag, Shift-drag, a grip, the rubber band with Delete, align and
    // distribute; every step undone and done again; the saved files hold
    // the numbers.
    void designAsAUserDoes()
    {
        QAction *undo = m_window->menuAction(ids::Undo);

        // A press on B1 selects it; dragged by (23, 11) it lands 25, 10
        // further, and the views follow while the button is still down.
        press(60, 60);
        QCOMPARE(selected(), QStringLiteral("B1"));
        moveTo(70, 65);
        moveTo(83, 71);
        QCOMPARE(rectOf(1), (Rect{75, 60, 100, 25}));
        QCOMPARE(property(RowX), QStringLiteral("75"));
        QCOMPARE(property(RowY), QStringLiteral("60"));
        QVERIFY(marked());
        QVERIFY(canvas()->items().back().grips != 0); // the grips went along
        release(83, 71);
        QCOMPARE(rectOf(1), (Rect{75, 60, 100, 25}));
        QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Verschieben"));

        // With Shift, pixel by pixel.
        drag(85, 70, 23, 11, Qt::ShiftModifier);
        QCOMPARE(rectOf(1), (Rect{98, 71, 100, 25}));

        // The cursor tells what a press would do; the bottom-right grip sits
        // on the frame's last pixel, 197, 95.
        QCOMPARE(cursorOver(197, 95), Qt::SizeFDiagCursor);
        QCOMPARE(cursorOver(197, 83), Qt::SizeHorCursor);
        QCOMPARE(cursorOver(98, 95), Qt::SizeBDiagCursor);
        QCOMPARE(cursorOver(147, 71), Qt::SizeVerCursor);
        QCOMPARE(cursorOver(140, 85), Qt::SizeAllCursor);
        QCOMPARE(cursorOver(300, 280), Qt::ArrowCursor); // the window is not moved by dragging

        // The grip: the right edge goes from 198 to 221, snapped to 220.
        drag(197, 95, 23, 11);
        QCOMPARE(rectOf(1), (Rect{98, 71, 122, 34}));
        QCOMPARE(property(RowXD), QStringLiteral("122"));
        QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Grösse ändern"));

        // The rubber band, begun on the window: three buttons wholly inside.
        press(40, 95);
        moveTo(150, 160);
        moveTo(260, 235);
        QCOMPARE(canvas()->band(), std::optional<QRect>(QRect(40, 95, 221, 141)));
        release(260, 235);
        QCOMPARE(canvas()->band(), std::nullopt);
        QCOMPARE(selected(), QStringLiteral("B2 B3 B4"));
        key(Qt::Key_Delete);
        QCOMPARE(m_state.list.size(), 2);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_state.list.size(), 5);
        QCOMPARE(selected(), QStringLiteral("B2 B3 B4"));

        // Left to B2, the current row; then equal gaps between B2 and B4.
        QVERIFY(enabled(ids::DistributeVertically));
        m_window->menuAction(ids::AlignLeft)->trigger();
        QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Ausrichten"));
        m_window->menuAction(ids::DistributeVertically)->trigger();
        QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Verteilen"));
        const std::vector<Rect> done = {{98, 71, 122, 34}, {50, 100, 80, 25}, {50, 155, 90, 25}, {50, 210, 50, 20}};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rectOf(i + 1), done[static_cast<std::size_t>(i)]);

        // Ctrl+Z takes back one step at a time, down to the list as loaded.
        const std::vector<std::pair<int, Rect>> undone = {
            {3, {50, 150, 90, 25}}, {4, {200, 210, 50, 20}}, {1, {98, 71, 100, 25}},
            {1, {75, 60, 100, 25}}, {1, {50, 50, 100, 25}},
        };
        for (const auto &[record, rect] : undone) {
            key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(rectOf(record), rect);
        }
        QVERIFY(!undo->isEnabled());
        QVERIFY(!marked());
        for (int i = 0; i < 5; ++i)
            key(Qt::Key_Y, Qt::ControlModifier);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rectOf(i + 1), done[static_cast<std::size_t>(i)]);

        // The files hold exactly those numbers.
        m_dialogs.fileAnswers = {m_dir->path() / "dialog.tbf"};
        m_window->dispatchMenu(ids::SaveAs);
        QVERIFY(!marked());
        const std::string list = testutil::readFile(m_dir->path() / "dialog.tbf");
        const std::string code = testutil::readFile(m_dir->path() / "dialog.pbi");
        const char *ids[] = {"B1", "B2", "B3", "B4"};
        for (int i = 0; i < 4; ++i) {
            const Rect &r = done[static_cast<std::size_t>(i)];
            const std::string group = std::string("[") + ids[i] + "]\r\n";
            const std::size_t at = list.find(group);
            QVERIFY(at != std::string::npos);
            const std::string numbers = "x = " + std::to_string(r[0]) + "\r\ny = " + std::to_string(r[1])
                + "\r\nxy0 = 0\r\nxd = " + std::to_string(r[2]) + "\r\nyd = " + std::to_string(r[3]) + "\r\n";
            QVERIFY2(list.find(numbers, at) < list.find("\r\n[", at + 1), ids[i]);
            const std::string call = std::string("ButtonGadget(#") + ids[i] + ", " + std::to_string(r[0])
                + "*GTBScale, " + std::to_string(r[1]) + "*GTBScale, " + std::to_string(r[2]) + "*GTBScale, "
                + std::to_string(r[3]) + "*GTBScale, \"" + ids[i] + "\")";
            QVERIFY2(code.find(call) != std::string::npos, call.c_str());
        }
    }

    // Escape during a drag puts back the places, the selection and the title
    // as they were before the press; the rest of the drag does nothing.
    void escapeCancelsAnyDrag()
    {
        click(60, 110); // B2
        const std::size_t steps = m_state.history.stepCount();
        press(60, 60); // B1, which the press selects
        moveTo(90, 90);
        QCOMPARE(rectOf(1), (Rect{80, 80, 100, 25}));
        QVERIFY(marked());
        key(Qt::Key_Delete); // keys other than Escape wait for the release
        QCOMPARE(m_state.list.size(), 5);
        key(Qt::Key_Escape);
        QCOMPARE(rectOf(1), (Rect{50, 50, 100, 25}));
        QCOMPARE(selected(), QStringLiteral("B2"));
        QCOMPARE(property(RowVarId), QStringLiteral("B2"));
        QVERIFY(!marked());
        moveTo(120, 120);
        release(120, 120);
        QCOMPARE(rectOf(1), (Rect{50, 50, 100, 25}));
        QCOMPARE(m_state.history.stepCount(), steps);

        // A band cancelled: the selection stays what it was.
        press(350, 280);
        QCOMPARE(selected(), QStringLiteral("B2")); // the band's comes at the release
        moveTo(10, 10);
        QVERIFY(canvas()->band());
        key(Qt::Key_Escape);
        QCOMPARE(canvas()->band(), std::nullopt);
        release(10, 10);
        QCOMPARE(selected(), QStringLiteral("B2"));

        // A grip cancelled; then the keys work again.
        click(129, 124); // on B2's grip: selects B2 alone
        press(129, 124);
        moveTo(160, 160);
        QCOMPARE(rectOf(2), (Rect{50, 100, 110, 60}));
        key(Qt::Key_Escape);
        release(160, 160);
        QCOMPARE(rectOf(2), (Rect{50, 100, 80, 25}));
        QCOMPARE(property(RowXD), QStringLiteral("80"));
        QCOMPARE(canvas()->items().back().width, 80);
        key(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(rectOf(2), (Rect{55, 100, 80, 25}));
    }

    // Shift pressed or let go while dragging switches at once, where the
    // mouse stands.
    void shiftDuringADrag()
    {
        press(60, 60);
        moveTo(83, 71);
        QCOMPARE(rectOf(1), (Rect{75, 60, 100, 25}));
        QTest::keyPress(m_window->listView(), Qt::Key_Shift, Qt::ShiftModifier);
        QCOMPARE(rectOf(1), (Rect{73, 61, 100, 25}));
        QTest::keyRelease(m_window->listView(), Qt::Key_Shift);
        QCOMPARE(rectOf(1), (Rect{75, 60, 100, 25}));
        release(83, 71);
        QCOMPARE(m_state.history.stepCount(), std::size_t{1});
    }

    // A plain click selects only the gadget under it, also among several
    // selected; Ctrl+click adds or removes one; Ctrl keeps the band's
    // selection beside the one there was.
    void clicksAndCtrl()
    {
        click(60, 60);
        QCOMPARE(selected(), QStringLiteral("B1"));
        click(60, 110, Qt::ControlModifier);
        QCOMPARE(selected(), QStringLiteral("B1 B2"));
        QVERIFY(!enabled(ids::DistributeHorizontally));
        QVERIFY(enabled(ids::SameSize));
        click(60, 160, Qt::ControlModifier);
        QCOMPARE(selected(), QStringLiteral("B1 B2 B3"));
        QVERIFY(enabled(ids::DistributeHorizontally));
        click(60, 60, Qt::ControlModifier);
        QCOMPARE(selected(), QStringLiteral("B2 B3"));

        // Dragging one of the selected moves both, by the same distance.
        drag(70, 110, 10, 0);
        QCOMPARE(rectOf(2), (Rect{60, 100, 80, 25}));
        QCOMPARE(rectOf(3), (Rect{70, 150, 90, 25}));
        QCOMPARE(selected(), QStringLiteral("B2 B3"));

        click(70, 110);
        QCOMPARE(selected(), QStringLiteral("B2"));
        QVERIFY(!enabled(ids::AlignLeft));
        m_window->dispatchMenu(ids::AlignLeft); // too few: nothing happens
        QCOMPARE(m_state.history.undoLabel(), std::string("Verschieben"));

        drag(190, 205, 70, 30, Qt::ControlModifier); // only B4 lies inside
        QCOMPARE(selected(), QStringLiteral("B2 B4"));
        click(390, 290);
        QCOMPARE(selected(), QStringLiteral("Win"));
        click(900, 900);
        QCOMPARE(selected(), QString());
    }

    // A window is not moved by dragging; its grips change its size only.
    void windowsKeepTheirPlace()
    {
        click(390, 290);
        drag(390, 290, 40, 40); // a band, not a move
        QCOMPARE(rectOf(0), (Rect{0, 0, 400, 300}));
        click(390, 290);
        drag(399, 299, 23, -11);
        QCOMPARE(rectOf(0), (Rect{0, 0, 425, 290}));
    }

    void rasterDotsAreASwitchOfTheViewMenu()
    {
        QAction *entry = m_window->menuAction(ids::ShowRaster);
        QVERIFY(entry && entry->isCheckable() && !entry->isChecked());
        QVERIFY(!canvas()->rasterShown());
        entry->trigger();
        QVERIFY(canvas()->rasterShown() && entry->isChecked());
        QVERIFY(m_state.settings.view.showRaster);
        // Dim dots on the black card at every multiple of 5, nothing between.
        const QImage image = canvas()->render();
        const QColor dot = image.pixelColor(605, 405);
        QVERIFY(dot.red() > 20 && dot.red() < 128 && dot.red() == dot.green());
        QCOMPARE(image.pixelColor(606, 405), QColor(Qt::black));
        QCOMPARE(image.pixelColor(605, 407), QColor(Qt::black));
        // A frame lies over the dots.
        QCOMPARE(image.pixelColor(129, 110), QColor(192, 192, 192));
        m_window->close();
        QVERIFY(readProgramSettings(m_state.settingsFile).view.showRaster);

        // Rasters from a hand-edited file: none, big ones drawn point by
        // point, and one wider than the card.
        for (int raster : {0, -5, 64, 65, 2147483647}) {
            m_state.settings.panelRaster = raster;
            m_window->applyView();
            const QImage dots = canvas()->render();
            if (raster == 64 || raster == 65) {
                const int far = 8 * raster; // beyond the window and the buttons
                QVERIFY(dots.pixelColor(far, far) != QColor(Qt::black));
                QCOMPARE(dots.pixelColor(far + 1, far), QColor(Qt::black));
            } else {
                QCOMPARE(dots.pixelColor(600, 500), QColor(Qt::black));
            }
        }
    }

    // Selected gadgets at the ends of 32 bits get grips, paint and take a
    // drag without harm.
    void absurdGadgetsAreDrawnAndDragged()
    {
        constexpr int kMax = 2147483647;
        for (const Rect &r : {Rect{kMax, kMax, kMax, kMax}, Rect{-kMax, -kMax, -kMax, -kMax}, Rect{5, 5, kMax, 1},
                              Rect{-kMax, 300, kMax, kMax}}) {
            m_state.list.append(testutil::button("Far", r[0], r[1], r[2], r[3])).selected = true;
        }
        for (bool real : {false, true}) {
            if (real)
                m_window->dispatchMenu(ids::RealGadgets);
            m_window->drawCard();
            QVERIFY(!canvas()->render().isNull());
            cursorOver(5, 5);
            drag(6, 6, 100, 100);
            drag(500, 500, -50, -50);
        }
        QCOMPARE(rectOf(5)[0], kMax);
    }

    // The window is 400 x 300: a gadget dragged far stops at its inner
    // edge, a resize too; with Shift it goes on, pixel by pixel.
    void dragsStayInsideTheirWindowUnlessShift()
    {
        drag(225, 220, 400, 300);
        QCOMPARE(rectOf(4), (Rect{350, 280, 50, 20}));
        m_window->undo();
        drag(249, 229, 400, 400); // the bottom-right grip
        QCOMPARE(rectOf(4), (Rect{200, 210, 200, 90}));
        drag(300, 255, 301, 0, Qt::ShiftModifier);
        QCOMPARE(rectOf(4)[0], 501);
    }

    // Held below the view, a drag scrolls it, and the gadget follows further
    // down than the view showed; a band grows the same way. The release and
    // Escape stop the scrolling.
    void dragsPastTheEdgeScrollTheView()
    {
        QWidget *viewport = m_window->canvasArea()->viewport();
        QScrollBar *bar = m_window->canvasArea()->verticalScrollBar();
        const QPoint below(60, viewport->height() + 40); // in the viewport
        auto cardY = [&] { return canvas()->mapFrom(viewport, below).y() - canvas()->cardOrigin().y(); };
        auto keepsStill = [&] {
            const int value = bar->value();
            QTest::qWait(4 * DragScroller::kTickMs);
            return bar->value() == value;
        };
        // A window as tall as the card: the drag goes as far as the mouse.
        m_state.list.records()[0].yd = m_state.settings.panelHeight;

        press(60, 60);
        moveTo(60, 100);
        moveTo(60, cardY());
        QTRY_VERIFY(bar->value() >= 200);
        release(60, cardY());
        QCOMPARE(rectOf(1)[1], snapToRaster(50 + cardY() - 60, 5));
        QVERIFY(rectOf(1)[1] > viewport->height());
        QVERIFY(keepsStill());

        bar->setValue(0);
        press(350, 280); // on the window: a band
        moveTo(350, cardY());
        QTRY_VERIFY(canvas()->band() && canvas()->band()->height() > viewport->height());
        key(Qt::Key_Escape);
        QCOMPARE(canvas()->band(), std::nullopt);
        QVERIFY(keepsStill());
        release(350, cardY());
        QCOMPARE(selected(), QStringLiteral("B1"));
    }

    // In the real-gadget drawing the card sits lower and further right on
    // the canvas: the same drag lands in the same place.
    void dragsInTheRealGadgetDrawing()
    {
        m_window->dispatchMenu(ids::RealGadgets);
        QVERIFY(canvas()->cardOrigin().y() > 0);
        drag(60, 60, 23, 11);
        QCOMPARE(rectOf(1), (Rect{75, 60, 100, 25}));
        QCOMPARE(cursorOver(174, 84), Qt::SizeFDiagCursor);
    }
};

QTEST_MAIN(MouseDesignTest)
#include "mousedesign_test.moc"
