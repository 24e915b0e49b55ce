// The main window driven as a user would, with scripted dialogs.
#include "core/app/programsettings.h"
#include "core/document/listfile.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/app/mainwindow.h"
#include "ui/canvas/cardcanvas.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QScrollArea>
#include <QTableWidget>
#include <QtTest>

using namespace tafelbau;

namespace {

GadgetRecord gadget(const std::string &id, int card, int x, int y, int xd, int yd, bool xy0 = false)
{
    GadgetRecord r;
    r.name = xy0 ? "OpenWindow" : "ButtonGadget";
    r.varId = id;
    r.text = id;
    r.code = "X(#[id])";
    r.card = card;
    r.x = x;
    r.y = y;
    r.xd = xd;
    r.yd = yd;
    r.xy0 = xy0 ? 1 : 0;
    return r;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    testutil::TempDir *m_dir = nullptr;
    AppState m_state;
    testutil::ScriptedDialogs m_dialogs;
    MainWindow *m_window = nullptr;

    void makeWindow(float scale = 1.0f)
    {
        delete m_window;
        m_state = AppState{};
        m_state.displayScale = scale;
        m_state.settingsFile = m_dir->path() / "Tafelbau.ini";
        m_state.pool.settings.codeFileExt = ".pbi";
        m_state.pool.entries.resize(2);
        m_state.pool.entries[0].name = "ButtonGadget";
        m_state.pool.entries[0].color = 0x00FFFF; // yellow frames
        m_state.pool.entries[1].name = "OpenWindow";
        m_state.pool.entries[1].color = 0xFF0000; // blue frames
        m_dialogs = {};
        m_window = new MainWindow(m_state, m_dialogs);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
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

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        delete m_dir;
    }

    void buildsTheTableGeometryAtScaleOne()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583"));
        QCOMPARE(m_window->listView()->geometry(), QRect(0, 55, 220, 270));
        QCOMPARE(m_window->propertyList()->geometry(), QRect(0, 330, 220, 225));
        // The settings' 1000 wide inner area is 200 more than the table's 800.
        QCOMPARE(m_window->canvasArea()->geometry(), QRect(225, 30, 770, 525));
        QCOMPARE(m_window->cardChooser()->geometry(), QRect(0, 30, 220, 20));
        QCOMPARE(m_window->nextFreeCardLabel()->geometry(), QRect(650, 10, 145, 15));
        QCOMPARE(m_window->innerSize(), QSize(1000, 575)); // from the program settings
        QCOMPARE(m_window->canvas()->size(), QSize(1200, 1600));
        QCOMPARE(m_window->propertyList()->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
        QCOMPARE(m_window->propertyList()->horizontalHeaderItem(1)->text(), QStringLiteral("Werte"));
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
                              "Neu",
                              QString::fromUtf8("Öffnen"),
                              "Speichern ctrl-s",
                              "Speichern als",
                              "-",
                              "Konfig.datei",
                              "-",
                              "Beenden",
                              "&Gadgets",
                              QString::fromUtf8("Hinzufügen\tIns"),
                              QString::fromUtf8("Löschen\tDel"),
                              "Kopieren\tctrl-c",
                              QString::fromUtf8("Einfügen\tctrl-v"),
                              "-",
                              "Karte zuordnen",
                              QString::fromUtf8("Code zurücksetzen"),
                              QString::fromUtf8("Grösseren Text bearbeiten"),
                              "Varid ersetzen",
                              "-",
                              "Import aus Code",
                              "-",
                              "Pool bearbeiten",
                              "&Ansicht",
                              "&Echte Gadgets",
                              "&Hilfe",
                              "Info"}));
    }

    void scaledGeometryRoundsHalvesToEven()
    {
        makeWindow(1.5f);
        QCOMPARE(m_window->listView()->geometry(), QRect(0, 82, 330, 405));
    }

    void anchoredGadgetsGrowAndTheWindowHasAMinimum()
    {
        m_window->setInnerSize(1000, 700);
        QTRY_COMPARE(m_window->innerSize(), QSize(1000, 700));
        QCOMPARE(m_window->propertyList()->geometry(), QRect(0, 330, 220, 350));
        QCOMPARE(m_window->canvasArea()->geometry(), QRect(225, 30, 770, 650));
        QCOMPARE(m_window->listView()->geometry(), QRect(0, 55, 220, 270));
        m_window->setInnerSize(500, 300);
        QTest::qWait(50);
        QVERIFY(m_window->innerSize().width() >= 800);
        QVERIFY(m_window->innerSize().height() >= 575);
    }

    void openingFillsTheViews()
    {
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
    }

    void garbageFileLeavesDocumentAndTitle()
    {
        m_window->documents().openList(writeDemo());
        m_window->documents().updateTitle(true);
        const QString title = m_window->windowTitle();
        testutil::writeFile(m_dir->path() / "bad.tbf", "GdtListFileVersion = 999\r\n");
        m_dialogs.yesNoAnswers = {true};
        m_window->documents().openList(m_dir->path() / "bad.tbf");
        QCOMPARE(m_window->windowTitle(), title);
        QCOMPARE(rowTexts().size(), 5);
        QVERIFY(QString::fromStdString(m_dialogs.calls.back()).contains("Erforderliche Version: 081103"));
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
        emit m_window->canvas()->leftClicked(110, 30);
        QCOMPARE(selectedRows(), QList<int>{3});
        QCOMPARE(m_window->propertyList()->item(1, 1)->text(), QStringLiteral("Name"));
        emit m_window->canvas()->leftClicked(190, 90);
        QCOMPARE(selectedRows(), QList<int>{2});
        emit m_window->canvas()->leftClicked(900, 900); // empty canvas: nothing selected, card stays
        QVERIFY(selectedRows().isEmpty());
        QCOMPARE(m_window->propertyList()->rowCount(), 0);
        QCOMPARE(m_window->shownCard(), 1);
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
            i.lvid = lvid;
            i.x = x;
            i.y = 10;
            i.width = 50;
            i.height = 20;
            i.frameColour = colour;
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

    void titleFollowsTheChangeMark()
    {
        m_window->documents().openList(writeDemo());
        m_window->documents().updateTitle(true);
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583 - demo.tbf *"));
        m_window->dispatchMenu(ids::Save);
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583 - demo.tbf"));
        QVERIFY(std::filesystem::exists(m_dir->path() / "demo.pbi"));
    }

    void quittingAsksOnlyWithChangesAndWritesTheSettings()
    {
        m_window->move(-30, 40);
        QSignalSpy quit(m_window, &MainWindow::quitConfirmed);
        m_window->close();
        QVERIFY(m_dialogs.calls.empty());
        QCOMPARE(quit.count(), 1);
        const ProgramSettings written = readProgramSettings(m_state.settingsFile);
        QCOMPARE(written.mainWinX, 0); // raised to 0
        QCOMPARE(written.mainWinXD, 1000);

        makeWindow();
        m_window->documents().openList(writeDemo());
        m_window->documents().updateTitle(true);
        m_dialogs.yesNoAnswers = {false};
        QVERIFY(m_window->close());
        QCOMPARE(m_dialogs.calls.size(), std::size_t(1));
    }

    void quitWithAFailingSaveStaysOpen()
    {
        m_window->documents().openList(writeDemo());
        m_state.list.records()[1].varId = "win"; // cannot be told from "Win" in the file
        m_window->documents().updateTitle(true);
        m_dialogs.yesNoAnswers = {true};
        QSignalSpy quit(m_window, &MainWindow::quitConfirmed);
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
        QCOMPARE(quit.count(), 0);
        QVERIFY(QString::fromStdString(m_dialogs.calls.back()).contains("VarIDs"));
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
