// What a user of other designers reaches for first: the usual keys, the
// context menu, editing a caption in place and the toolbox, driven with
// synthetic keys and mouse events.
#include "core/dialoglist.h"
#include "ui/app/inplaceeditor.h"
#include "ui/app/toolbox.h"
#include "ui/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMimeData>
#include <QMenu>
#include <QTableWidget>
#include <QtTest>

using namespace tafelbau;

namespace {

GadgetRecord gadget(const char *id, int card, int x, int y)
{
    return testutil::button(id, x, y, 80, 25, card);
}

using testutil::window;

PoolEntry entryOf(char kind, const char *name)
{
    const GadgetRecord r = dialoglist::record(kind, name, 0);
    PoolEntry e;
    e.name = r.name, e.code = r.code, e.xd = r.xd, e.yd = r.yd, e.xy0 = r.xy0, e.dontshow = r.dontshow;
    return e;
}

} // namespace

class DesignerTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT

    /// The context menu's entries that are enabled, by their ids; "A" for
    /// the "Ausrichten" submenu.
    QStringList enabledInContextMenu() const
    {
        QStringList out;
        for (QAction *a : m_window->contextMenu()->actions())
            if (!a->isSeparator() && a->isEnabled())
                out << (a->menu() ? QStringLiteral("A") : QString::number(a->data().toInt()));
        return out;
    }
    void rightClick(QWidget *w, QPoint p)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, p, w->mapToGlobal(p));
        QApplication::sendEvent(w, &event);
        QTRY_VERIFY(m_window->contextMenu()->isVisible());
        m_window->contextMenu()->close();
    }

    QLineEdit *editor() const { return m_window->inPlaceEditor()->editor(); }
    QString textOf(int record) const
    {
        return QString::fromLatin1(m_state.list.records()[static_cast<std::size_t>(record)].text.c_str());
    }

private slots:
    void init()
    {
        begin();
        m_state.pool.settings.codeFileExt = ".pbi";
        GdtList list;
        list.append(window("Win", 0));
        list.append(gadget("A", 0, 20, 20));
        list.append(gadget("B", 0, 120, 20));
        list.append(window("Other", 1));
        list.append(gadget("C", 1, 20, 20));
        QVERIFY(openWindowWith(list));
    }

    void cleanup() { end(); }

    void selectAllTakesTheCardShown()
    {
        select("C");
        QTest::keyClick(m_window->listView(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(ids(true), QStringLiteral("Other C"));
        QVERIFY(!m_window->windowTitle().endsWith(" *")); // only the selection changed
    }

    void duplicateAndCutAreOneStepEach()
    {
        select("A");
        QTest::keyClick(m_window->listView(), Qt::Key_D, Qt::ControlModifier);
        // After the last gadget of the window shown, where its code ends.
        QCOMPARE(ids(), QStringLiteral("Win A B A1 Other C"));
        QCOMPARE(ids(true), QStringLiteral("A1"));
        const GadgetRecord &copy = m_state.list.records()[3];
        QCOMPARE(QPoint(copy.x, copy.y), QPoint(25, 25)); // the raster is 5
        QVERIFY(m_window->windowTitle().endsWith(" *"));

        QTest::keyClick(m_window->listView(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(ids(), QStringLiteral("Win A B Other C"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("A1"));
        QCOMPARE(m_state.copyBuffer.records.size(), std::size_t(1));

        m_window->dispatchMenu(ids::Undo);
        QCOMPARE(ids(), QStringLiteral("Win A B A1 Other C"));
        m_window->dispatchMenu(ids::Undo);
        QCOMPARE(ids(), QStringLiteral("Win A B Other C"));

        // Nothing selected: Ctrl+X leaves the list and the copy buffer alone.
        select("none");
        QTest::keyClick(m_window->listView(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(ids(), QStringLiteral("Win A B Other C"));
        QCOMPARE(m_state.copyBuffer.records.size(), std::size_t(1));
    }

    void fileKeysReachTheirEntries()
    {
        const std::pair<QKeyCombination, int> keys[] = {
            {Qt::CTRL | Qt::Key_N, ids::New},
            {Qt::CTRL | Qt::Key_O, ids::Open},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_S, ids::SaveAs},
            {Qt::CTRL | Qt::Key_Q, ids::Quit},
            {QKeyCombination(Qt::Key_F2), ids::EditInPlace},
        };
        for (const auto &[combination, id] : keys) {
            int calls = 0;
            m_window->setCommand(id, [&calls] { ++calls; });
            QTest::keyClick(m_window->listView(), combination.key(), combination.keyboardModifiers());
            QVERIFY2(calls == 1, qPrintable(QKeySequence(combination).toString()));
        }
    }

    void plainArrowsMoveByOnePixelOnlyOnTheCanvas()
    {
        select("A");
        QTest::keyClick(m_window->listView(), Qt::Key_Right);
        QCOMPARE(m_state.list.records()[1].x, 20); // the list view moves its row
        canvas()->setFocus();
        QTest::keyClick(canvas(), Qt::Key_Right);
        QTest::keyClick(canvas(), Qt::Key_Down);
        QTest::keyClick(canvas(), Qt::Key_Down);
        QCOMPARE(QPoint(m_state.list.records()[1].x, m_state.list.records()[1].y), QPoint(21, 22));
        QTest::keyClick(canvas(), Qt::Key_Left, Qt::ControlModifier); // the raster step stays
        QCOMPARE(m_state.list.records()[1].x, 16);
    }

    void contextMenuOffersWhatApplies()
    {
        const QString cut = QString::number(ids::Cut), copy = QString::number(ids::Copy),
                      paste = QString::number(ids::Paste), del = QString::number(ids::Delete),
                      dup = QString::number(ids::Duplicate), front = QString::number(ids::ToFront),
                      back = QString::number(ids::ToBack), props = QString::number(ids::FocusProperties);
        // A right click on a gadget outside the selection selects it.
        select("B");
        rightClick(canvas(), at(30, 30));
        QCOMPARE(ids(true), QStringLiteral("A"));
        QCOMPARE(enabledInContextMenu(), (QStringList{cut, copy, del, dup, front, props}));

        // Two selected and something copied; together they are the whole
        // gadget list of their window, in front and at the back at once.
        m_window->dispatchMenu(ids::Copy);
        for (GadgetRecord &r : m_state.list.records())
            r.selected = r.varId == "A" || r.varId == "B";
        m_window->refreshGadgetList();
        rightClick(canvas(), at(130, 30));
        QCOMPARE(ids(true), QStringLiteral("A B"));
        QCOMPARE(enabledInContextMenu().join(" "), (QStringList{cut, copy, paste, del, dup, "A", props}).join(" "));

        // The gadget list: a right click on nothing keeps no selection.
        select("none");
        rightClick(m_window->listView()->viewport(), QPoint(5, 300));
        QCOMPARE(enabledInContextMenu(), QStringList());
        const QRect row = m_window->listView()->visualRect(m_window->listView()->model()->index(2, 0));
        rightClick(m_window->listView()->viewport(), row.center());
        QCOMPARE(ids(true), QStringLiteral("B"));
        QCOMPARE(enabledInContextMenu(), (QStringList{cut, copy, paste, del, dup, back, props}));

        m_window->dispatchMenu(ids::ToBack);
        QCOMPARE(ids(), QStringLiteral("Win B A Other C"));
        m_window->dispatchMenu(ids::FocusProperties);
        QVERIFY(m_window->propertyList()->hasFocus());
    }

    void doubleClickOnATabEditsThatPagesCaption()
    {
        for (bool real : {false, true}) {
            if (real)
                m_window->dispatchMenu(ids::RealGadgets);
            m_state.list = dialoglist::listOf("W:Win@0 P:Tabs@0 G:One@1>Tabs B:A@1 G:Two@2>Tabs B:C@2 C:End@0 B:Ok@0*");
            m_state.history = {};
            m_window->refreshGadgetList();
            QCOMPARE(m_window->shownCard(), 0);
            QPoint tab;
            for (int x = 10; x < 310 && tab.isNull(); ++x)
                if (canvas()->pageTabAt(m_state.list, 0, {x, 14}) == 4)
                    tab = at(x + 2, 14);
            QVERIFY(!tab.isNull());
            // As the desktop sends it: a click, then the second press as a
            // double-click -- by then the page's card is shown.
            QTest::mouseClick(canvas(), Qt::LeftButton, Qt::NoModifier, tab);
            QTest::mouseDClick(canvas(), Qt::LeftButton, Qt::NoModifier, tab);
            QVERIFY(editor() && editor()->isVisible());
            QCOMPARE(editor()->text(), QStringLiteral("Two"));
            QTest::keyClicks(editor(), QStringLiteral("Zwei"));
            QTest::keyClick(editor(), Qt::Key_Return);
            QVERIFY(!editor());
            QCOMPARE(textOf(4), QStringLiteral("Zwei"));
            QCOMPARE(ids(), QStringLiteral("Win Tabs One A Two C End Ok"));
            m_window->dispatchMenu(ids::Undo);
            QCOMPARE(textOf(4), QStringLiteral("Two"));
            QVERIFY(!m_state.history.canUndo()); // it was one step
        }
    }

    void doubleClickEditsTheCaptionInPlace()
    {
        QTest::mouseDClick(canvas(), Qt::LeftButton, Qt::NoModifier, at(30, 30));
        QVERIFY(editor() && editor()->isVisible());
        QCOMPARE(ids(true), QStringLiteral("A"));
        QCOMPARE(editor()->text(), QStringLiteral("A"));
        QCOMPARE(editor()->geometry().topLeft(), at(20, 20)); // over the gadget
        QTest::keyClicks(editor(), QStringLiteral("Gr")); // typing replaces the caption
        editor()->insert(QString::fromUtf8("üße"));
        QTest::keyClick(editor(), Qt::Key_D, Qt::ControlModifier); // the editor's, not "Duplizieren"
        QTest::keyClick(editor(), Qt::Key_Return);
        QVERIFY(!editor());
        QCOMPARE(ids(), QStringLiteral("Win A B Other C"));
        QCOMPARE(m_state.list.records()[1].text, std::string("Gr\xFC\xDF" "e"));
        QVERIFY(m_window->windowTitle().endsWith(" *"));
        m_window->dispatchMenu(ids::Undo);
        QCOMPARE(textOf(1), QStringLiteral("A"));
        QVERIFY(!m_state.history.canUndo()); // it was one step
    }

    void escapeDropsAndAClickElsewhereKeeps()
    {
        select("B");
        QTest::keyClick(m_window->listView(), Qt::Key_F2);
        QVERIFY(editor());
        QTest::keyClicks(editor(), QStringLiteral("Weg"));
        QTest::keyClick(editor(), Qt::Key_Escape);
        QVERIFY(!editor());
        QCOMPARE(textOf(2), QStringLiteral("B"));
        QVERIFY(!m_state.history.canUndo());

        QTest::keyClick(m_window->listView(), Qt::Key_F2);
        QTest::keyClicks(editor(), QStringLiteral("Bleibt"));
        m_window->listView()->setFocus(Qt::MouseFocusReason); // what a click there does first
        QVERIFY(!editor());
        QCOMPARE(textOf(2), QStringLiteral("Bleibt"));
    }

    void withoutACaptionTheVarIdIsEdited()
    {
        m_state.list.records()[2].code = "ComboBoxGadget(#[id], [x], [y], [xd], [yd])";
        select("B");
        m_window->dispatchMenu(ids::EditInPlace);
        QCOMPARE(editor()->text(), QStringLiteral("B"));
        editor()->setText(QStringLiteral("Auswahl"));
        QTest::keyClick(editor(), Qt::Key_Enter);
        QCOMPARE(ids(), QStringLiteral("Win A Auswahl Other C"));
        QCOMPARE(textOf(2), QStringLiteral("B"));

        // A gadget not on the card shown, or none at all: no editor.
        select("none");
        m_window->dispatchMenu(ids::EditInPlace);
        QVERIFY(!editor());
    }

    void toolboxDropsOnAPageWhereTheCodePutsIt()
    {
        m_state.pool.entries = {entryOf('B', "x"), entryOf('C', "x"), entryOf('W', "x")};
        m_state.list = dialoglist::listOf(
            "W:Win@0 P:Tabs@0 G:One@1>Tabs B:A@1 G:Two@2>Tabs B:C@2* C:End@0 B:Ok@0");
        m_window->refreshGadgetList();
        m_window->toolbox()->refill(m_state.pool);
        QCOMPARE(m_window->shownCard(), 2);
        QListWidget *list = m_window->toolbox()->list();
        QCOMPARE(list->count(), 2); // CloseGadgetList draws nothing
        QCOMPARE(list->item(0)->text(), QStringLiteral("ButtonGadget"));
        QVERIFY(!list->item(0)->icon().isNull());

        std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(0, 0)}));
        const QPoint pos = at(33, 48);
        QDragEnterEvent enter(pos, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(pos), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &drop);
        QCOMPARE(ids(), QStringLiteral("Win Tabs One A Two C ButtonGadget1 End Ok"));
        const GadgetRecord &added = m_state.list.records()[6];
        QCOMPARE((QList<int>{added.card, added.x, added.y, added.tab}), (QList<int>{2, 35, 50, 2}));
        QCOMPARE(ids(true), QStringLiteral("ButtonGadget1"));
        QCOMPARE(m_window->shownCard(), 2);
        m_window->dispatchMenu(ids::Undo);
        QCOMPARE(ids(), QStringLiteral("Win Tabs One A Two C End Ok"));
        QVERIFY(!m_state.history.canUndo());

        // Other data is no gadget.
        QMimeData text;
        text.setText(QStringLiteral("ButtonGadget"));
        QDragEnterEvent other(pos, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &other);
        QVERIFY(!other.isAccepted());

        // With real gadgets the window's card shows page One inside the
        // panel (at 10,10): what is dropped there goes on that page.
        select("Ok");
        QCOMPARE(m_window->shownCard(), 0);
        m_window->dispatchMenu(ids::RealGadgets);
        const ControlMetrics m = canvas()->controlMetrics();
        const QPoint onPage = at(10 + m.frameWidth + 41, 10 + m.tabBarHeight + m.frameWidth + 38);
        QDragEnterEvent pageEnter(onPage, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &pageEnter);
        QDropEvent pageDrop(QPointF(onPage), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &pageDrop);
        QCOMPARE(ids(), QStringLiteral("Win Tabs One A ButtonGadget1 Two C End Ok"));
        const GadgetRecord &onOne = m_state.list.records()[4];
        QCOMPARE((QList<int>{onOne.card, onOne.x, onOne.y, onOne.tab}), (QList<int>{1, 40, 40, 2}));
        m_window->dispatchMenu(ids::Undo);
        QVERIFY(!m_state.history.canUndo());
    }

    void toolboxFiltersAddsAndKeepsItsPictures()
    {
        m_state.pool.entries = {entryOf('B', "x"), entryOf('T', "x"), entryOf('W', "x")};
        Toolbox *box = m_window->toolbox();
        box->refill(m_state.pool);
        const int drawn = box->picturesDrawn();
        box->refill(m_state.pool);
        QCOMPARE(box->picturesDrawn(), drawn); // from the cache
        m_state.pool.entries[1].code += " ; changed";
        box->refill(m_state.pool);
        QCOMPARE(box->picturesDrawn(), drawn + 1);

        auto shown = [box] {
            QStringList names;
            for (int i = 0; i < box->list()->count(); ++i)
                if (!box->list()->item(i)->isHidden())
                    names << box->list()->item(i)->text();
            return names;
        };
        m_window->dispatchMenu(ids::ToggleToolbox);
        QVERIFY(box->isVisible() && m_state.settings.view.toolbox);
        box->list()->setFocus();
        QTest::keyClicks(box->list(), QStringLiteral("gad")); // typing in the list filters
        QCOMPARE(shown(), (QStringList{"ButtonGadget", "TextGadget"}));
        box->filter()->setText(QStringLiteral("TEXT"));
        QCOMPARE(shown(), QStringList{"TextGadget"});

        // Activated as in the gadget chooser: after the selected gadget.
        select("A");
        emit box->list()->itemActivated(box->list()->item(1));
        QCOMPARE(ids(), QStringLiteral("Win A TextGadget1 B Other C"));
        m_window->dispatchMenu(ids::Undo);
        QCOMPARE(ids(), QStringLiteral("Win A B Other C"));

        box->close(); // its close box: the switch follows
        QVERIFY(!m_state.settings.view.toolbox);
        QVERIFY(!m_window->menuAction(ids::ToggleToolbox)->isChecked());
    }
};

QTEST_MAIN(DesignerTest)
#include "designer_test.moc"
