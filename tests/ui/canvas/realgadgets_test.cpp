// The card drawn as the controls the gadgets become: pixels where they tell,
// the switch in the window, and input that must not break the painting.
#include "core/app/programsettings.h"
#include "core/canvas/controlitems.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"

#include <QAction>
#include <QListView>
#include <QMenuBar>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtTest>

using namespace tafelbau;

namespace {

GadgetRecord gadget(const char *id, const char *function, int x, int y, int xd, int yd, const char *flags = "")
{
    GadgetRecord r;
    r.varId = id;
    r.text = id;
    r.code = std::string(function) + "(#[id], [x], [y], [xd], [yd], \"[text]\", [flags])";
    r.flags = flags;
    r.x = x;
    r.y = y;
    r.xd = xd;
    r.yd = yd;
    r.color = 0x00FFFF;
    return r;
}

bool isBlack(const QColor &c)
{
    return c.red() == 0 && c.green() == 0 && c.blue() == 0;
}

} // namespace

class RealGadgetsTest : public QObject
{
    Q_OBJECT

    // A window with a default button, a check box, a text field, a
    // selected button half under another, and a record of plain code.
    GdtList dialog() const
    {
        GdtList list;
        GadgetRecord win = gadget("Titel", "OpenWindow", 0, 0, 400, 300, "#PB_Window_SystemMenu");
        win.xy0 = 1;
        list.append(win);
        list.append(gadget("OK", "ButtonGadget", 20, 20, 100, 25, "#PB_Button_Default"));
        list.append(gadget("Check", "CheckBoxGadget", 20, 60, 120, 20));
        list.append(gadget("Field", "StringGadget", 20, 100, 150, 25));
        GadgetRecord under = gadget("Under", "ButtonGadget", 200, 20, 100, 40);
        under.selected = true;
        list.append(under);
        list.append(gadget("Over", "ButtonGadget", 250, 30, 100, 40));
        list.append(gadget("Code", "Debug", 20, 200, 80, 30));
        return list;
    }

    static QImage paint(CardCanvas &canvas, const GdtList &list)
    {
        canvas.setPanelSize(600, 400);
        canvas.setRealGadgets(true);
        canvas.setItems(controlItems(list, 0, kColourMove, canvas.controlMetrics()));
        return canvas.render();
    }

private slots:
    void pixelsWhereTheyTell()
    {
        CardCanvas canvas;
        const QImage image = paint(canvas, dialog());
        const QPoint o = canvas.cardOrigin();
        QVERIFY(o.y() > 0); // room for the title bar

        // The button's face, left of its caption, is painted.
        QVERIFY(!isBlack(image.pixelColor(o + QPoint(24, 32))));
        // The window's title bar row above the client area is painted, the
        // client area is in the window colour, the canvas around is black.
        const QColor window = QApplication::palette().color(QPalette::Window);
        QVERIFY(!isBlack(image.pixelColor(o + QPoint(200, -o.y() / 2))));
        QCOMPARE(image.pixelColor(o + QPoint(380, 280)), window);
        QVERIFY(isBlack(image.pixelColor(o + QPoint(450, 150))));

        // The check box has its indicator where the style puts it: not the
        // window colour throughout.
        QStyleOptionButton box;
        box.rect = QRect(20, 60, 120, 20);
        box.fontMetrics = QFontMetrics(CardCanvas::captionFont());
        const QRect indicator = canvas.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &box, nullptr);
        QVERIFY(indicator.width() > 4);
        int differing = 0;
        for (int x = indicator.left(); x <= indicator.right(); ++x)
            differing += image.pixelColor(o + QPoint(x, indicator.center().y())) != window ? 1 : 0;
        QVERIFY(differing >= 2);

        // The text field is white inside its border.
        QCOMPARE(image.pixelColor(o + QPoint(160, 112)), QApplication::palette().color(QPalette::Base));

        // The selected button lies under "Over", yet its marking is on top.
        QCOMPARE(image.pixelColor(o + QPoint(299, 50)), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(o + QPoint(298, 50)), QColor(255, 0, 0));
        QVERIFY(image.pixelColor(o + QPoint(297, 50)) != QColor(255, 0, 0));

        // Code that names no control keeps its frame in the record's colour.
        QCOMPARE(image.pixelColor(o + QPoint(20, 215)), QColor(255, 255, 0));
    }

    // The raster shows over the dialog as on the black around it: darker
    // than the window colour there, and only at its multiples.
    void rasterDotsLieOverTheDialog()
    {
        CardCanvas canvas;
        canvas.setRaster(5, true);
        const QImage image = paint(canvas, dialog());
        const QPoint o = canvas.cardOrigin();
        const QColor window = QApplication::palette().color(QPalette::Window);
        const QColor base = QApplication::palette().color(QPalette::Base);
        const std::pair<QPoint, QColor> onSurfaces[] = {
            {{380, 280}, window}, {{210, 150}, window}, {{160, 110}, base}, // the text field
        };
        for (const auto &[at, surface] : onSurfaces) {
            const QColor dot = image.pixelColor(o + at);
            QVERIFY2(dot.lightness() < surface.lightness() - 40, qPrintable(QString("%1,%2").arg(at.x()).arg(at.y())));
            QCOMPARE(image.pixelColor(o + at + QPoint(1, 0)), surface);
            QCOMPARE(image.pixelColor(o + at + QPoint(0, 2)), surface);
        }
        // Dim on the black, as in the frame drawing; none on the title bar.
        const QColor onBlack = image.pixelColor(o + QPoint(450, 150));
        QVERIFY(onBlack.red() > 20 && onBlack.red() < 128);
        QVERIFY(isBlack(image.pixelColor(o + QPoint(451, 150))));
        canvas.setRaster(5, false);
        const QImage plain = canvas.render();
        for (int x = 0; x < 400; x += 5)
            QCOMPARE(image.pixelColor(o + QPoint(x, -o.y() / 2 / 5 * 5)),
                     plain.pixelColor(o + QPoint(x, -o.y() / 2 / 5 * 5)));
    }

    void aChangeRepaintsOnlyItsControl()
    {
        CardCanvas canvas;
        const GdtList list = dialog();
        paint(canvas, list);
        const auto before = controlItems(list, 0, kColourMove, canvas.controlMetrics());
        GdtList moved = list;
        moved.records()[2].x += 5; // the check box
        const auto damage = canvas.damageBetween(before, controlItems(moved, 0, kColourMove, canvas.controlMetrics()));
        QVERIFY(damage);
        QVERIFY(damage->contains(QRect(20, 60, 125, 20)));
        QVERIFY(!damage->intersects(QRect(20, 20, 100, 25)));

        // The window's damage covers its title bar too.
        GdtList renamed = list;
        renamed.records()[0].text = "Neu";
        const auto title = canvas.damageBetween(before, controlItems(renamed, 0, kColourMove, canvas.controlMetrics()));
        QVERIFY(title);
        QVERIFY(title->contains(QPoint(200, -canvas.cardOrigin().y() / 2)));
    }

    void absurdRecordsPaintWithoutHarm()
    {
        GdtList list;
        list.append(gadget("Huge", "ButtonGadget", 2147483000, 2147483000, 2147483647, 2147483647));
        list.append(gadget("Negative", "StringGadget", -2147483647, 10, -50, -50, "#PB_String_Password"));
        list.append(gadget("Wide", "PanelGadget", -100000, 0, 2147483647, 100000));
        list.append(gadget("Tab", "AddGadgetItem", 0, 0, 0, 0));
        list.append(
            gadget("Big", "OpenWindow", 0, 0, 2147483647, 2147483647, "#PB_Window_Unknown|#PB_Window_SystemMenu"));
        GadgetRecord longText = gadget("", "TextGadget", 5, 5, 300, 20, "#PB_Text_Center");
        longText.text.assign(4 << 20, 'W');
        list.append(longText);
        for (int i = 0; i < 2000; ++i)
            list.append(gadget("T", "AddGadgetItem", 0, 0, 0, 0));
        list.records()[3].text.assign(1 << 20, 'x');
        CardCanvas canvas;
        const QImage image = paint(canvas, list);
        QCOMPARE(image.size(), QSize(600, 400));
    }

    // Setting a new style deletes the old one, which the canvas painted
    // with; the sanitizer build catches a paint that still uses it.
    void aNewStyleIsTakenUp()
    {
        CardCanvas canvas;
        paint(canvas, dialog());
        const QString before = QApplication::style()->name();
        QApplication::setStyle(QStyleFactory::create(before == "fusion" ? "Windows" : "Fusion"));
        QCOMPARE(canvas.render().size(), QSize(600, 400));
        QApplication::setStyle(QStyleFactory::create(before));
        QCOMPARE(canvas.render().size(), QSize(600, 400));
    }

    void switchedInTheWindowAndKeptInTheSettings()
    {
        testutil::TempDir dir;
        AppState state;
        state.settingsFile = dir / "Tafelbau.ini";
        testutil::ScriptedDialogs dialogs;
        state.list = dialog();
        auto *window = new MainWindow(state, dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(!window->canvas()->realGadgets()); // frames unless asked for

        QAction *entry = window->menuAction(ids::RealGadgets);
        QVERIFY(entry && entry->isCheckable() && !entry->isChecked());
        QTest::keyClick(window->listView(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(window->canvas()->realGadgets());
        QVERIFY(entry->isChecked());
        QCOMPARE(window->canvas()->items()[1].control.type.kind, ControlKind::Button);

        // A click still hits what is drawn under the pointer.
        state.list.records()[4].selected = false;
        const QPoint o = window->canvas()->cardOrigin();
        window->canvasArea()->ensureVisible(0, 0);
        QTest::mouseClick(window->canvas(), Qt::LeftButton, {}, o + QPoint(30, 70));
        QVERIFY(state.list.records()[2].selected);

        window->close();
        delete window;
        QVERIFY(readProgramSettings(state.settingsFile).view.realGadgets);

        // The next start begins in the drawing the last one ended in.
        state.settings = readProgramSettings(state.settingsFile);
        window = new MainWindow(state, dialogs);
        QVERIFY(window->canvas()->realGadgets());
        QVERIFY(window->menuAction(ids::RealGadgets)->isChecked());
        window->dispatchMenu(ids::RealGadgets);
        QVERIFY(!window->canvas()->realGadgets());
        QVERIFY(!window->menuAction(ids::RealGadgets)->isChecked());
        delete window;
    }
};

QTEST_MAIN(RealGadgetsTest)
#include "realgadgets_test.moc"
