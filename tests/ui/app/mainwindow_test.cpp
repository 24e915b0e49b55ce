// The main window driven as a user would, with scripted dialogs.
#include "core/app/programsettings.h"
#include "core/commands/selection.h"
#include "core/document/latin1.h"
#include "core/document/listfile.h"
#include "core/windows/infotext.h"
#include "ui/app/canvashost.h"
#include "ui/document/qtconvert.h"
#include "ui/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>

#include <functional>

using namespace tafelbau;

namespace {

GadgetRecord gadget(const std::string &id, int card, int x, int y, int xd, int yd, bool xy0 = false)
{
    GadgetRecord r;
    r.name = xy0 ? "OpenWindow" : "ButtonGadget", r.varId = r.text = id, r.code = "X(#[id])";
    r.card = card, r.x = x, r.y = y, r.xd = xd, r.yd = yd, r.xy0 = xy0 ? 1 : 0;
    return r;
}

} // namespace

class MainWindowTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT

    void makeWindow(float scale = 1.0f)
    {
        closeWindow();
        resetState();
        m_state.displayScale = scale;
        m_state.pool.settings.codeFileExt = ".pbi";
        m_state.pool.entries.resize(2);
        m_state.pool.entries[0].name = "ButtonGadget";
        m_state.pool.entries[0].color = 0x00FFFF; // yellow frames
        m_state.pool.entries[1].name = "OpenWindow";
        m_state.pool.entries[1].color = 0xFF0000; // blue frames
        QVERIFY(openWindow(Show::Exposed));
    }

    std::filesystem::path writeDemo()
    {
        GdtList list;
        list.append(gadget("Win", 0, 40, 40, 300, 200, true));
        list.append(gadget("Ok", 0, 20, 20, 80, 25));
        list.append(gadget("Page", 1, 0, 0, 200, 100, true));
        list.append(gadget("Name", 1, 10, 10, 100, 20));
        list.append(gadget("Back", 0, 120, 20, 80, 25));
        const auto path = m_dir->path() / "demo.tbf";
        if (!writeListFile(path, list).ok)
            qFatal("cannot write the demo list");
        return path;
    }

    QStringList rowTexts() const
    {
        QStringList rows;
        auto *model = m_window->listView()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            rows << model->index(i, 0).data().toString();
        return rows;
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &i : m_window->listView()->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

private slots:
    void init()
    {
        m_dir = new testutil::TempDir;
        makeWindow();
    }

    void cleanup() { end(); }

    // One row per kind of change: the table at scale 1 (the settings' inner
    // area is 200 wider than the table's 800), halves rounded to even at 1.5,
    // anchored gadgets growing, and the window's minimum.
    void layoutFollowsScaleAndWindowSize_data()
    {
        QTest::addColumn<float>("scale");
        QTest::addColumn<QSize>("resizeTo");
        QTest::addColumn<QSize>("inner");
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QRect>("properties");
        QTest::addColumn<QRect>("canvasArea");
        const QRect list(0, 55, 220, 270);
        QTest::newRow("table") << 1.0f << QSize() << QSize(1000, 575) << list << QRect(0, 330, 220, 225)
                               << QRect(225, 30, 770, 525);
        QTest::newRow("scale 1.5") << 1.5f << QSize() << QSize(1200, 862) << QRect(0, 82, 330, 405)
                                   << QRect(0, 495, 330, 338) << QRect(338, 45, 855, 788);
        QTest::newRow("grown") << 1.0f << QSize(1000, 700) << QSize(1000, 700) << list << QRect(0, 330, 220, 350)
                               << QRect(225, 30, 770, 650);
        QTest::newRow("minimum") << 1.0f << QSize(500, 300) << QSize(800, 575) << list << QRect(0, 330, 220, 225)
                                 << QRect(225, 30, 570, 525);
    }

    void layoutFollowsScaleAndWindowSize()
    {
        QFETCH(float, scale);
        QFETCH(QSize, resizeTo);
        QFETCH(QSize, inner);
        makeWindow(scale);
        if (resizeTo.isValid())
            m_window->setInnerSize(resizeTo.width(), resizeTo.height());
        QTRY_COMPARE(m_window->innerSize(), inner);
        QTEST(m_window->listView()->geometry(), "list");
        QTEST(m_window->propertyList()->geometry(), "properties");
        QTEST(m_window->canvasHost()->geometry(), "canvasArea");
        QCOMPARE(m_window->canvasArea()->size(), m_window->canvasHost()->size()); // no code view beside it
    }

    void menusInTheirOrderWithAccessKeys()
    {
        QStringList seen;
        for (QAction *menu : m_window->menuBar()->actions()) {
            seen << menu->text();
            for (QAction *a : menu->menu()->actions())
                seen << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        QCOMPARE(seen,
                 (QStringList{"&Datei",
                              "&Neu",
                              QString::fromUtf8("Ö&ffnen"),
                              "&Speichern ctrl-s",
                              "Speichern a&ls",
                              "-",
                              QString::fromUtf8("&Programm erzeugen …"),
                              QString::fromUtf8("&Ausführen"),
                              "-",
                              "&Konfig.datei",
                              "-",
                              "&Beenden",
                              "&Bearbeiten",
                              QString::fromUtf8("&Rückgängig"),
                              "&Wiederholen",
                              "-",
                              "Aus&schneiden",
                              "&Duplizieren",
                              "Alles &markieren",
                              "&Text bearbeiten",
                              "Nach &vorne",
                              "Nach &hinten",
                              "-",
                              "&Ausrichten",
                              "&Gadgets",
                              QString::fromUtf8("&Hinzufügen\tIns"),
                              QString::fromUtf8("&Löschen\tDel"),
                              "&Kopieren\tctrl-c",
                              QString::fromUtf8("&Einfügen\tctrl-v"),
                              "-",
                              "Karte &zuordnen",
                              QString::fromUtf8("&Code zurücksetzen"),
                              QString::fromUtf8("&Grösseren Text bearbeiten"),
                              "&Varid ersetzen",
                              "&Neue Seite",
                              QString::fromUtf8("&Struktur prüfen"),
                              "-",
                              "&Import aus Code",
                              "-",
                              "&Pool bearbeiten",
                              "&Ansicht",
                              "&Code-Vorschau",
                              "&Werkzeugkasten",
                              "&Echte Gadgets",
                              "&Raster anzeigen",
                              "-",
                              "&Vorschau",
                              "&Hilfe",
                              "Info"}));
    }

    // Within one menu (and the menu bar, and the context menu) no two
    // entries share an access key, and every entry of the menus that have
    // them has one.
    void accessKeysDoNotCollide()
    {
        auto keyOf = [](const QString &text) {
            const int amp = text.indexOf(QLatin1Char('&'));
            return amp < 0 || amp + 1 >= text.size() ? QString() : text.mid(amp + 1, 1).toLower();
        };
        std::function<void(const QString &, const QList<QAction *> &)> check = [&](const QString &menu,
                                                                                  const QList<QAction *> &actions) {
            QStringList keys;
            for (QAction *a : actions) {
                if (a->isSeparator())
                    continue;
                const QString key = keyOf(a->text());
                if (menu != QStringLiteral("&Hilfe"))
                    QVERIFY2(!key.isEmpty(), qPrintable(menu + QStringLiteral(": ") + a->text()));
                if (key.isEmpty())
                    continue;
                QVERIFY2(!keys.contains(key), qPrintable(menu + QStringLiteral(": ") + a->text()));
                keys << key;
                if (a->menu())
                    check(a->text(), a->menu()->actions());
            }
        };
        check(QStringLiteral("menu bar"), m_window->menuBar()->actions());
        check(QStringLiteral("context"), m_window->contextMenu()->actions());
    }

    // The info window's text names every entry of every menu in quotes,
    // and every key an entry has, so that it cannot fall behind the menus.
    void infoTextNamesEveryMenuEntryAndItsKeys()
    {
        const UnpackedInfo info = unpackInfoText(builtInInfoData());
        const QString text = QString::fromLatin1(info.text.data(), static_cast<qsizetype>(info.text.size()));
        QStringList missing;
        std::function<void(const QList<QAction *> &)> walk = [&](const QList<QAction *> &actions) {
            for (QAction *a : actions) {
                if (a->isSeparator())
                    continue;
                // "&Rückgängig: Verschieben" names its step after the colon;
                // "Hinzufügen\tIns" shows a key after the tab.
                QString entry = a->text().section(QLatin1Char('\t'), 0, 0).section(QLatin1Char(':'), 0, 0).remove(
                    QLatin1Char('&'));
                // Latin-1 has no ellipsis: the text writes three dots.
                entry.replace(QString::fromUtf8("…"), QStringLiteral("..."));
                if (!text.contains(QLatin1Char('"') + entry + QLatin1Char('"')))
                    missing << entry;
                for (const QKeySequence &keys : a->shortcuts()) {
                    QString name = keys.toString(QKeySequence::PortableText);
                    name.replace(QStringLiteral("Ctrl"), QStringLiteral("Strg"))
                        .replace(QStringLiteral("Shift"), QStringLiteral("Umschalt"));
                    if (!text.contains(name))
                        missing << entry + QStringLiteral(" ") + name;
                }
                if (a->menu())
                    walk(a->menu()->actions());
            }
        };
        walk(m_window->menuBar()->actions());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        QVERIFY(m_window->menuBar()->actions().size() >= 5); // the walk saw the menus
    }

    void openingFillsTheViewsAndSavingClearsTheMark()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583"));
        QCOMPARE(m_window->propertyList()->horizontalHeaderItem(1)->text(), QStringLiteral("Werte"));
        m_window->documents().openList(writeDemo());
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583 - demo.tbf"));
        QCOMPARE(rowTexts(), (QStringList{"Win", "Ok", "Page", "Name", "Back"}));
        QCOMPARE(selectedRows(), QList<int>{0});
        QCOMPARE(m_window->cardChooser()->count(), 3); // Win, Page, Back
        QCOMPARE(m_window->cardChooser()->itemText(2), QStringLiteral("Back"));
        QCOMPARE(m_window->propertyList()->rowCount(), 22);
        QCOMPARE(m_window->propertyList()->item(1, 1)->text(), QStringLiteral("Win"));
        QCOMPARE(m_window->nextFreeCardLabel()->text(), QString::fromUtf8("Nächste freie Karte: 2"));
        QCOMPARE(m_window->canvas()->items().size(), std::size_t(3));

        m_window->documents().updateTitle(true);
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583 - demo.tbf *"));
        m_window->dispatchMenu(ids::Save);
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583 - demo.tbf"));
        QVERIFY(std::filesystem::exists(m_dir->path() / "demo.pbi"));
    }

    // A code file changed by hand since the last save is kept beside it;
    // the status line says so, once.
    void savingKeepsAHandEditedCodeFileAndSaysSoInTheStatusLine()
    {
        m_window->documents().openList(writeDemo());
        m_window->dispatchMenu(ids::Save);
        QCOMPARE(m_window->statusBar()->currentMessage(), QString());
        const auto code = m_dir->path() / "demo.pbi";
        testutil::writeFile(code, testutil::readFile(code) + "; by hand\r\n");
        m_window->dispatchMenu(ids::Save);
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QString::fromUtf8("Die Codedatei war nicht mehr so, wie Tafelbau sie zuletzt geschrieben hat; ihr "
                                   "bisheriger Inhalt liegt jetzt in: ")
                     + QString::fromStdString((m_dir->path() / "demo.pbi.bak").string()));
        QVERIFY(m_dialogs.calls.empty());
    }

    // A list that arrived as UTF-8 shows what it holds beyond Latin-1, and
    // what is typed into the window keeps it.
    void charactersBeyondLatin1AreShownAndKept()
    {
        GdtList list;
        list.append(gadget("Preis", 0, 10, 10, 80, 20)).text = utf8ToLatin1("10 \xE2\x82\xAC");
        list.setEncoding(TextEncoding::Utf8);
        const auto path = m_dir->path() / "preis.tbf";
        QVERIFY(writeListFile(path, list).ok);
        m_window->documents().openList(path);
        QStringList values;
        for (int row = 0; row < m_window->propertyList()->rowCount(); ++row)
            values << m_window->propertyList()->item(row, 1)->text();
        QVERIFY(values.contains(QString::fromUtf8("10 €")));
        QCOMPARE(toLatin1(QString::fromUtf8("10 €")), m_state.list.records()[0].text);
        QCOMPARE(fromLatin1(m_state.list.records()[0].text), QString::fromUtf8("10 €"));
        QCOMPARE(toLatin1(QString::fromUtf8("\xC3\xA4")), std::string("\xE4"));
    }

    void selectionPassesBetweenRowsRecordsChooserAndCanvas()
    {
        m_window->documents().openList(writeDemo());
        auto *sel = m_window->listView()->selectionModel();
        auto *model = m_window->listView()->model();
        sel->select(model->index(4, 0), QItemSelectionModel::Select); // rows 0 and 4, as clicks toggle
        QVERIFY(m_state.list.records()[4].selected);
        QCOMPARE(m_window->propertyList()->item(1, 1)->text(), QStringLiteral("Win")); // the topmost
        sel->select(model->index(0, 0), QItemSelectionModel::Deselect);
        QCOMPARE(m_window->propertyList()->item(1, 1)->text(), QStringLiteral("Back"));

        // The chooser selects the record that heads the card, and the canvas shows that card.
        m_window->cardChooser()->setCurrentIndex(1);
        m_window->dispatchGadget(ids::CardChooser);
        QCOMPARE(selectedRows(), QList<int>{2});
        QCOMPARE(m_window->shownCard(), 1);

        // A click on the canvas: the ordinary gadget wins over the page under it.
        QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, QPoint(110, 30));
        QCOMPARE(selectedRows(), QList<int>{3});
        QCOMPARE(m_window->propertyList()->item(1, 1)->text(), QStringLiteral("Name"));
        QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, QPoint(190, 90));
        QCOMPARE(selectedRows(), QList<int>{2});
        // Empty canvas: nothing selected, the card stays.
        QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, QPoint(900, 900));
        QVERIFY(selectedRows().isEmpty());
        QCOMPARE(m_window->propertyList()->rowCount(), 0);
        QCOMPARE(m_window->shownCard(), 1);
    }

    // The label once followed only a change in the number of records.
    void nextFreeCardFollowsEveryLoadedList()
    {
        m_window->documents().openList(writeDemo()); // cards 0 and 1
        GdtList sameCount;
        for (const char *id : {"A", "B", "C", "D", "E"})
            sameCount.append(gadget(id, 0, 0, 0, 10, 10));
        QVERIFY(writeListFile(m_dir->path() / "five.tbf", sameCount).ok);
        m_dialogs.yesNoAnswers = {true, true};
        m_window->documents().openList(m_dir->path() / "five.tbf");
        QCOMPARE(m_window->nextFreeCardLabel()->text(), QString::fromUtf8("Nächste freie Karte: 1"));
        m_window->documents().newList();
        QCOMPARE(m_window->nextFreeCardLabel()->text(), QString::fromUtf8("Nächste freie Karte: 0"));
    }

    void lastSelectedRowIsVisibleAfterARefresh()
    {
        for (int i = 0; i < 300; ++i)
            m_state.list.append(gadget("G" + std::to_string(i), 0, 0, 0, 10, 10));
        for (int selected : {298, 299, 150}) {
            clearSelection(m_state.list);
            m_state.list.records()[static_cast<std::size_t>(selected)].selected = true;
            m_window->refreshGadgetList();
            QListView *view = m_window->listView();
            const QRect row = view->visualRect(view->model()->index(selected, 0));
            QVERIFY2(view->viewport()->rect().contains(row), qPrintable(QString::number(selected)));
        }
    }

    void canvasPixels()
    {
        m_window->documents().openList(writeDemo());
        const QImage image = m_window->canvas()->render();
        QCOMPARE(image.size(), QSize(1200, 1600));
        QCOMPARE(image.pixelColor(0, 150), QColor(255, 0, 0));   // Win is selected: red, at 0,0
        QCOMPARE(image.pixelColor(20, 30), QColor(255, 255, 0)); // Ok's left edge in its pool colour
        QCOMPARE(image.pixelColor(99, 30), QColor(255, 255, 0)); // right edge: x + xd - 1
        QCOMPARE(image.pixelColor(100, 30), QColor(0, 0, 0));
        QCOMPARE(image.pixelColor(60, 35), QColor(0, 0, 0)); // frames are not filled
        QCOMPARE(image.pixelColor(700, 700), QColor(0, 0, 0));
    }

    void canvasPaintsOnlyWhatChanged()
    {
        CardCanvas canvas;
        auto item = [](std::int32_t lvid, int x, std::uint32_t colour) {
            CardItem i;
            i.lvid = lvid, i.x = x, i.y = 10, i.width = 50, i.height = 20, i.frameColour = colour;
            i.text = "T" + std::to_string(lvid);
            return i;
        };
        const std::vector<CardItem> before = {item(1, 0, 1), item(2, 100, 1), item(3, 200, 1)};
        QCOMPARE(canvas.damageBetween(before, before), std::optional<QRegion>(QRegion()));

        // One frame changes colour and moves to the top (it was selected).
        const std::vector<CardItem> selected = {item(1, 0, 1), item(3, 200, 1), item(2, 100, 255)};
        const auto damage = canvas.damageBetween(before, selected);
        QVERIFY(damage);
        QVERIFY(damage->contains(QRect(100, 10, 50, 20)));
        QVERIFY(!damage->intersects(QRect(0, 10, 50, 20)));
        QVERIFY(!damage->intersects(QRect(200, 10, 50, 20)));

        // The others changing their order is a change everywhere they are.
        const std::vector<CardItem> reordered = {item(3, 200, 1), item(1, 0, 1), item(2, 100, 1)};
        QVERIFY(!canvas.damageBetween(before, reordered));
        QVERIFY(canvas.damageBetween(before, {item(1, 0, 1)})->contains(QRect(200, 10, 50, 20)));
    }

    void shortcutsReachTheirCommands()
    {
        int calls = 0;
        m_window->setCommand(ids::StepRight, [&] { ++calls; });
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_window->listView()->setFocus();
        QTest::keyClick(m_window->listView(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(calls, 1);

        m_dialogs.fileAnswers = {std::nullopt};
        m_state.list.append(gadget("A", 0, 0, 0, 1, 1));
        QTest::keyClick(m_window->listView(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_dialogs.calls.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(m_dialogs.calls[0]).startsWith("save: Gadgetliste speichern | dialogs.tbf"));
    }

    void quittingAsksOnlyWithChangesAndStaysOpenWhenTheSaveFails()
    {
        m_window->move(-30, 40);
        QSignalSpy quit(m_window, &MainWindow::quitConfirmed);
        m_window->close();
        QVERIFY(m_dialogs.calls.empty());
        QCOMPARE(quit.count(), 1);
        const ProgramSettings written = readProgramSettings(m_state.settingsFile);
        QCOMPARE(written.mainWinX, 0); // raised to 0
        QCOMPARE(written.mainWinXD, 1000);

        for (const bool failingSave : {false, true}) {
            makeWindow();
            QSignalSpy confirmed(m_window, &MainWindow::quitConfirmed);
            m_window->documents().openList(writeDemo());
            if (failingSave)
                m_state.list.records()[1].varId = "win"; // cannot be told from "Win" in the file
            m_window->documents().updateTitle(true);
            // Escape (or the close button) keeps the editor open.
            m_dialogs.yesNoCancelAnswers = {Answer::Cancel};
            QVERIFY(!m_window->close());
            QCOMPARE(confirmed.count(), 0);
            m_dialogs.calls.clear();
            // No loses the changes without further question.
            m_dialogs.yesNoCancelAnswers = {failingSave ? Answer::Yes : Answer::No};
            QCOMPARE(m_window->close(), !failingSave);
            QCOMPARE(confirmed.count(), failingSave ? 0 : 1);
            QCOMPARE(m_dialogs.calls.size(), std::size_t(failingSave ? 2 : 1));
        }
        QVERIFY(m_window->isVisible());
        QVERIFY(QString::fromStdString(m_dialogs.calls.back()).contains("VarIDs"));
    }

    // Our own saves replace the file the watch is on; the watch must follow
    // them, and must not take them for someone else's change.
    void aListChangedOnDiskIsReloadedButOurOwnSaveIsNot()
    {
        const auto path = writeDemo();
        m_window->documents().openList(path);
        m_state.list.records()[1].varId = "Okay";
        m_window->documents().updateTitle(true);
        QVERIFY(m_window->documents().save());
        QTest::qWait(400);
        QCOMPARE(rowTexts().size(), 5);
        QVERIFY(m_dialogs.calls.empty());
        QVERIFY(m_window->statusBar()->currentMessage().isEmpty());

        GdtList theirs;
        theirs.append(gadget("Theirs", 0, 40, 40, 300, 200, true));
        testutil::writeFile(path, listFileBytes(theirs));
        QTRY_COMPARE(rowTexts().size(), 1);
        QVERIFY(m_window->statusBar()->currentMessage().contains(QStringLiteral("neu geladen")));
        QVERIFY(m_dialogs.calls.empty());
        QVERIFY(!m_window->windowTitle().contains(QLatin1Char('*')));
    }

    void aBigCardOpensAndRedraws()
    {
        GdtList list;
        for (int i = 0; i < 10000; ++i)
            list.append(gadget("G" + std::to_string(i), 0, i % 1000, i % 1500, i % 7 - 2, i % 5 - 1));
        const auto path = m_dir->path() / "big.tbf";
        QVERIFY(writeListFile(path, list).ok);
        m_window->documents().openList(path);
        QCOMPARE(m_window->listView()->model()->rowCount(), 10000);
        QCOMPARE(m_window->canvas()->items().size(), std::size_t(10000));
        m_window->canvas()->repaint();
        QCOMPARE(m_window->canvas()->render().size(), QSize(1200, 1600));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
