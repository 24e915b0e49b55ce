// The list-editing commands as the main window runs them: keys, buttons,
// menus and the property list, with the small windows scripted.
#include "core/commands/filechoosers.h"
#include "core/commands/valueedit.h"
#include "ui/app/editcommands.h"
#include "ui/windowfixture.h"
#include "ui/windows/flagseditorwindow.h"
#include "ui/windows/gadgetchooser.h"
#include "ui/windows/inputbox.h"
#include "ui/windows/replacevaridwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace tafelbau;

class EditCommandsTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT


    QStringList rows() const
    {
        QStringList out;
        for (const GadgetRecord &r : m_state.list.records())
            out << QString::fromLatin1(r.varId.c_str()) + (r.selected ? "*" : "");
        return out;
    }


    void clickProperty(int row)
    {
        m_window->propertyList()->setCurrentCell(row, 1);
        m_window->dispatchGadget(ids::Properties);
    }

private slots:
    void init()
    {
        begin();
        PoolEntry button;
        button.name = "ButtonGadget";
        button.code = "ButtonGadget(#[id], [x], [y], [xd], [yd], \"[text]\")";
        button.importcode = "ButtonGadget(#[id],[x],[y],[xd],[yd],[text]";
        button.x = 10, button.y = 10, button.xd = 100, button.yd = 25;
        button.flags = "1:Keine=0\r\n0:Default=#PB_Button_Default";
        PoolEntry window;
        window.name = "OpenWindow", window.code = "OpenWindow(#[id])", window.xy0 = 1, window.xd = 400, window.yd = 300;
        m_state.pool.entries = {button, window};
        m_state.pool.settings.codeComment = ";";
        m_state.pool.settings.importRemove = "\"";
        m_state.pool.settings.importTrim = ")";
        createWindow();
        scriptInputBox();
        QVERIFY(showWindow(Show::Active));
    }

    void cleanup() { end(); }

    // Add, move, delete, paste and edit; undo everything back to the empty
    // list, do it all again: the saved files equal those of the same edits
    // made without undo.
    void undoAndRedoEveryStepThroughTheKeys()
    {
        QAction *undo = m_window->menuAction(ids::Undo);
        QAction *redo = m_window->menuAction(ids::Redo);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        auto edits = [this] {
            add("OpenWindow");
            add("ButtonGadget");
            add("ButtonGadget");
            key(Qt::Key_Right, Qt::ControlModifier); // a run of key moves is one step
            key(Qt::Key_Right, Qt::ControlModifier);
            key(Qt::Key_C, Qt::ControlModifier);
            key(Qt::Key_V, Qt::ControlModifier);
            m_inputAnswers = {"Weiter"};
            clickProperty(RowText);
            key(Qt::Key_Up, Qt::ShiftModifier); // then another kind of step
            key(Qt::Key_Delete);
        };
        edits();
        const RecordList done = m_state.list.records();
        QCOMPARE(undo->text(), QString::fromUtf8("&Rückgängig: Löschen"));
        QStringList labels;
        while (undo->isEnabled()) {
            labels << undo->text().mid(QString::fromUtf8("&Rückgängig: ").size());
            key(Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(labels,
                 (QStringList{QString::fromUtf8("Löschen"), "Verschieben", "Wert ändern", QString::fromUtf8("Einfügen"),
                              "Verschieben", QString::fromUtf8("Hinzufügen"), QString::fromUtf8("Hinzufügen"),
                              QString::fromUtf8("Hinzufügen")}));
        QVERIFY(m_state.list.isEmpty());
        QCOMPARE(m_window->windowTitle(), QStringLiteral(" Tafelbau 0.583")); // no change mark
        QCOMPARE(redo->text(), QString::fromUtf8("&Wiederholen: Hinzufügen"));
        for (int i = 0; i < labels.size(); ++i)
            key(i % 2 ? Qt::Key_Y : Qt::Key_Z, i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!redo->isEnabled());
        QCOMPARE(m_state.list.records(), done);
        QVERIFY(m_window->windowTitle().endsWith(" *"));

        m_dialogs.fileAnswers = {m_dir->path() / "undone.tbf"};
        m_window->dispatchMenu(ids::SaveAs);
        QVERIFY(!m_window->windowTitle().endsWith(" *"));
        key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(m_window->windowTitle().endsWith(" *"));
        key(Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!m_window->windowTitle().endsWith(" *")); // back at the saved state

        // The same edits without any undo give the same files.
        m_dialogs.yesNoAnswers = {true};
        m_window->dispatchMenu(ids::New);
        QVERIFY(!undo->isEnabled());
        m_state.newGadgetPosition = {}; // as in a fresh run
        edits();
        m_dialogs.fileAnswers = {m_dir->path() / "direct.tbf"};
        m_window->dispatchMenu(ids::SaveAs);
        const std::string a = testutil::readFile(m_dir->path() / "undone.tbf");
        QCOMPARE(a, testutil::readFile(m_dir->path() / "direct.tbf"));
        QVERIFY(!a.empty());
    }

    void insertOpensTheChooserAndAddsGadgets()
    {
        key(Qt::Key_Insert);
        GadgetChooser *chooser = m_window->editCommands()->chooser();
        QVERIFY(chooser && chooser->isVisible());
        QCOMPARE(chooser->list()->count(), 2);
        QCOMPARE(chooser->windowTitle(), QString::fromUtf8("Neu: Gadget wählen (Doppelklick)"));
        emit chooser->list()->itemActivated(chooser->list()->item(1));
        emit chooser->list()->itemActivated(chooser->list()->item(0));
        QCOMPARE(rows(), (QStringList{"OpenWindow1", "ButtonGadget1*"}));
        QVERIFY(m_window->windowTitle().endsWith(" *"));
        QVERIFY(chooser->isVisible());
        chooser->close(); // only hidden
        QVERIFY(!chooser->isVisible());
        key(Qt::Key_Insert);
        QCOMPARE(m_window->editCommands()->chooser(), chooser);
        QVERIFY(chooser->isVisible());
    }

    void keysMoveAndResize()
    {
        add("ButtonGadget");
        key(Qt::Key_Right, Qt::ControlModifier);
        key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(m_state.list.records()[0].x, 15);
        QCOMPARE(m_state.list.records()[0].y, 11);
        QCOMPARE(m_window->propertyList()->item(4, 1)->text(), QStringLiteral("15"));
        key(Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(m_window->canvas()->items().back().frameColour, 65280u); // green: resizing
        key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_state.list.records()[0].xd, 50);
        key(Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(m_window->canvas()->items().back().frameColour, 255u);
    }

    void deleteReorderIndentCopyPaste()
    {
        add("ButtonGadget");
        add("ButtonGadget");
        add("ButtonGadget");
        QCOMPARE(rows(), (QStringList{"ButtonGadget1", "ButtonGadget2", "ButtonGadget3*"}));
        m_window->dispatchGadget(ids::MoveUp);
        QCOMPARE(rows(), (QStringList{"ButtonGadget1", "ButtonGadget3*", "ButtonGadget2"}));
        m_window->dispatchGadget(ids::Indent);
        QCOMPARE(m_window->listView()->model()->index(1, 0).data().toString(), QStringLiteral("  ButtonGadget3"));

        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ButtonGadget3"));
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rows(), (QStringList{"ButtonGadget1", "ButtonGadget3", "ButtonGadget31*", "ButtonGadget2"}));

        key(Qt::Key_Delete);
        QCOMPARE(rows(), (QStringList{"ButtonGadget1", "ButtonGadget3", "ButtonGadget2*"}));
    }

    void propertyRowsEdit()
    {
        add("ButtonGadget");
        m_inputAnswers = {"$1F"};
        clickProperty(4); // X
        QCOMPARE(m_inputValues.back(), std::string("10"));
        QCOMPARE(m_state.list.records()[0].x, 31);
        QCOMPARE(m_window->propertyList()->item(4, 1)->text(), QStringLiteral("31"));

        add("ButtonGadget");
        m_inputAnswers = {"ButtonGadget1", "Ok"}; // taken by the other record, then free
        clickProperty(1);
        QCOMPARE(m_dialogs.calls.back(), std::string("message: Die VarID darf nicht schon vorkommen oder leer sein!"));
        clickProperty(1);
        QCOMPARE(m_window->listView()->model()->index(1, 0).data().toString(), QStringLiteral("Ok"));

        clickProperty(6); // Ignore XY toggles without a box
        QCOMPARE(m_state.list.records()[1].xy0, std::int8_t(1));

        m_window->editCommands()->windows.flagsEditor = [](std::vector<FlagItem> items, QPoint) {
            items[0].on = false;
            items[1].on = true;
            return std::optional<std::vector<FlagItem>>(items);
        };
        clickProperty(9);
        QCOMPARE(m_state.list.records()[1].flags, std::string("#PB_Button_Default"));
        QCOMPARE(m_window->propertyList()->item(9, 1)->text(), QStringLiteral("#PB_Button_Default"));
    }

    void menuCommandsWithQuestions()
    {
        add("ButtonGadget");
        m_state.list.records()[0].code = "changed";
        m_dialogs.yesNoAnswers = {false, true};
        m_window->dispatchMenu(ids::ResetCode);
        QCOMPARE(m_state.list.records()[0].code, std::string("changed"));
        m_window->dispatchMenu(ids::ResetCode);
        QCOMPARE(m_state.list.records()[0].code, m_state.pool.entries[0].code);

        m_dialogs.textAnswers = {std::string("  2x")};
        m_window->dispatchMenu(ids::AssignCard);
        QCOMPARE(m_state.list.records()[0].card, 2);
        QCOMPARE(m_window->nextFreeCardLabel()->text(), QString::fromUtf8("Nächste freie Karte: 0"));
        QCOMPARE(m_window->shownCard(), 2);

        m_window->editCommands()->windows.replaceVarIds = [] {
            return std::optional<std::array<std::string, 3>>({"frm", "buttongadget", "Btn"});
        };
        m_window->dispatchMenu(ids::ReplaceVarId);
        QCOMPARE(rows(), (QStringList{"frmBtn1*"}));
    }

    void largeTextEditsTheTopmostOrElseTheLastRecord()
    {
        std::vector<std::string> edited;
        m_window->editCommands()->windows.largeText = [&](GadgetRecord &r) {
            edited.push_back(r.varId);
            r.text = "a\"+#CRLF$+\"b";
            return true;
        };
        m_window->dispatchMenu(ids::LargeText); // empty list: nothing to edit
        QVERIFY(edited.empty());
        add("ButtonGadget");
        add("ButtonGadget");
        QTest::mouseClick(m_window->canvas(), Qt::LeftButton, {}, QPoint(5000, 5000)); // nothing selected
        m_window->dispatchMenu(ids::LargeText);
        QCOMPARE(edited, (std::vector<std::string>{"ButtonGadget2"}));
        QCOMPARE(m_state.list.records()[1].text, std::string("a\"+#CRLF$+\"b"));
        QVERIFY(m_window->windowTitle().endsWith(" *"));
    }

    void importThroughTheMenu()
    {
        testutil::writeFile(m_dir->path() / "dlg.pb", "  ButtonGadget(#Ok, 1, 2, 3, 4, \"Weiter\")\r\nnothing\r\n");
        m_dialogs.fileAnswers = {m_dir->path() / "dlg.pb"};
        m_window->dispatchMenu(ids::Import);
        // PureBasic sources offered first; without a list or a folder used before, the working folder.
        const std::string chooser = "open: Tafelbau Gadgets importieren aus Codedatei | ";
        QCOMPARE(m_dialogs.takeCalls(), std::vector<std::string>{chooser + " | " + kSourceFileFilter});
        QCOMPARE(m_state.settings.lastFolder, m_dir->path().string());
        QCOMPARE(rows(), (QStringList{"Ok"}));
        QCOMPARE(m_state.list.records()[0].text, std::string("Weiter"));
        QVERIFY(m_window->windowTitle().endsWith(" *"));

        m_dialogs.fileAnswers = {m_dir->path() / "none.pb"};
        m_window->dispatchMenu(ids::Import);
        QCOMPARE(m_dialogs.calls.front(), chooser + m_dir->path().string() + "/ | " + kSourceFileFilter);
        QVERIFY(QString::fromStdString(m_dialogs.calls.back()).startsWith("message: Err - konnte Datei nicht"));
        QCOMPARE(rows().size(), 1);

        // The list's own code file is no source: the next save would write
        // the list's code over it.
        m_state.listFile = m_dir->path() / "dlg.tbf";
        m_state.pool.settings.codeFileExt = ".pbi";
        m_dialogs.fileAnswers = {m_dir->path() / "dlg.pbi"};
        testutil::writeFile(m_dir->path() / "dlg.pbi", "  ButtonGadget(#Zu, 1, 2, 3, 4, \"Zu\")\r\n");
        m_window->dispatchMenu(ids::Import);
        QCOMPARE(m_dialogs.calls.back(), "message: Fehler: Die Quelldatei w\xC3\xA4re die Codedatei der Gadgetliste: "
                                             + (m_dir->path() / "dlg.pbi").string());
        QCOMPARE(rows().size(), 1);

        // A pool that reads statements tells what it read, after the list shows it.
        m_state.pool.settings.importSyntax = true;
        testutil::writeFile(m_dir->path() / "neu.pb", "Ok = ButtonGadget(#PB_Any, 1, 2, 3, 4, \"Weiter\") ; Knopf\r\n");
        m_dialogs.fileAnswers = {m_dir->path() / "neu.pb"};
        m_window->dispatchMenu(ids::Import);
        QCOMPARE(rows(), (QStringList{"Ok", "Ok1"}));
        QCOMPARE(m_state.list.records()[1].text, std::string("Weiter"));
        QCOMPARE(m_dialogs.calls.back(), std::string("message: Import: 1 Gadget gelesen."));
    }

    void smallWindowsOnTheirOwn()
    {
        // The input box opens at the mouse, unscaled; Escape gives back the old value.
        for (const auto key : {Qt::Key_Escape, Qt::Key_Return}) {
            InputBox box("old", QPoint(50, 60), m_window);
            QCOMPARE(box.geometry(), QRect(50, 60, 3 * 3 + 150, 28));
            box.field()->setText("typed");
            QTest::keyClick(box.field(), key);
            QCOMPARE(box.result(), std::string(key == Qt::Key_Escape ? "old" : "typed"));
        }

        FlagsEditorWindow flags({{"A", "#A", true}, {"B", "#B", false}}, QPoint(0, 0), m_window);
        QCOMPARE(flags.windowTitle(), QStringLiteral("Flags (enter/esc exits)"));
        QCOMPARE(flags.list()->geometry(), QRect(3, 3, 194, 224));
        flags.list()->item(1)->setSelected(true);
        flags.list()->item(0)->setSelected(false);
        QVERIFY(!flags.items()[0].on && flags.items()[1].on);

        ReplaceVarIdWindow replace(1.0f, m_window);
        // As made, and wider only by what its warning's first line lacks.
        QCOMPARE(replace.height(), 170);
        QVERIFY(replace.width() >= 255 && replace.width() <= 275);
        QCOMPARE(replace.prefix()->geometry(), QRect(60, 85, 80, 20));
        QCOMPARE(replace.prefix()->toolTip(),
                 QString::fromUtf8("Wird am Anfang von den selektierten Varids eingefügt"));
    }
};

QTEST_MAIN(EditCommandsTest)
#include "editcommands_test.moc"
