// The dialog's structure in the main window: the problems window and the
// save that counts them, new pages, commands that keep cards and code in
// step, and the whole two-page dialog built, changed and imported again.
#include "core/codegen/structurecheck.h"
#include "core/document/listfile.h"
#include "ui/app/editcommands.h"
#include "core/commands/valueedit.h"
#include "ui/app/inplaceeditor.h"
#include "ui/windowfixture.h"
#include "ui/windows/structurewindow.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace tafelbau;

using testutil::kSource;

class StructureTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT

    int indexOf(const std::string &varId) const
    {
        const auto &records = m_state.list.records();
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].varId == varId)
                return static_cast<int>(i);
        return -1;
    }
    GadgetRecord &record(const std::string &varId)
    {
        const int i = indexOf(varId);
        if (i < 0)
            qFatal("no record %s", varId.c_str());
        return m_state.list.records()[static_cast<std::size_t>(i)];
    }
    std::string problems() const
    {
        std::string out;
        for (const StructureProblem &p : checkStructure(m_state.list))
            out += p.text + "\n";
        return out;
    }

    void place(const std::string &varId, int x, int y, int xd, int yd)
    {
        GadgetRecord &r = record(varId);
        r.x = x, r.y = y, r.xd = xd, r.yd = yd;
    }
    /// "VarID@card" of every record.
    QString cards() const
    {
        QStringList out;
        for (const GadgetRecord &r : m_state.list.records())
            out << QString::fromLatin1(r.varId.c_str()) + "@" + QString::number(r.card);
        return out.join(' ');
    }
    /// A click on the canvas at card coordinates.
    void clickCanvas(int x, int y) { QTest::mouseClick(canvas(), Qt::LeftButton, {}, at(x, y)); }
    /// The generated code from its enumeration on, every line's indent left out.
    static std::string codeBody(const std::filesystem::path &file)
    {
        const std::string code = testutil::readFile(file);
        std::string out;
        std::size_t at = code.find("EndEnumeration");
        while (at < code.size()) {
            const std::size_t end = code.find("\r\n", at);
            const std::string line = code.substr(at, end - at);
            out += line.substr(std::min(line.size(), line.find_first_not_of('\t'))) + "\n";
            at = end == std::string::npos ? end : end + 2;
        }
        return out;
    }

private slots:
    void init()
    {
        begin();
        QVERIFY(loadShippedPool());
        QVERIFY(openWindow(Show::Exposed));
    }

    void cleanup() { end(); }

    // A save of a list with problems writes it, shows their count in the
    // status line; its button opens the problems, a click selects the gadget.
    void saveCountsProblemsAndTheListLeadsToTheGadget()
    {
        m_window->documents().openList(kSource / "examples" / "demo.tbf");
        QCOMPARE(problems(), std::string());
        record("BtnOk").card = 1;
        record("StrName").x = 400;
        m_state.listFile = m_dir->path() / "demo.tbf";
        QVERIFY(m_window->documents().saveList());
        QVERIFY(std::filesystem::exists(m_dir->path() / "demo.tbf"));
        QPushButton *button = m_window->structureButton();
        QVERIFY(button && button->isVisibleTo(m_window));
        QVERIFY(button->text().startsWith(QStringLiteral("Struktur: 2 Probleme")));

        button->click();
        StructureWindow *window = m_window->structureWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->list()->count(), 2);
        QVERIFY(window->list()->item(1)->text().startsWith(QStringLiteral("BtnOk: liegt auf Karte 1")));
        window->list()->itemClicked(window->list()->item(1));
        QVERIFY(record("BtnOk").selected);
        QVERIFY(!record("StrName").selected);
        QCOMPARE(m_window->shownCard(), 1);

        record("BtnOk").card = 0;
        record("StrName").x = 120;
        QVERIFY(m_window->documents().saveList());
        QVERIFY(!button->isVisibleTo(m_window));
        QCOMPARE(window->list()->count(), 1);
        QVERIFY(window->list()->item(0)->text().startsWith(QStringLiteral("Keine Probleme")));
        select("StrName");
        window->list()->itemClicked(window->list()->item(0)); // names no gadget: the selection stays
        QVERIFY(record("StrName").selected && !record("BtnOk").selected);
    }

    // The whole two-page dialog: built with the commands, a gadget pasted
    // across pages, OK moved into a page and back, the panel renamed, a
    // third page added; then its include imported into a new list. Every
    // step keeps cards and code in step.
    void twoPageDialogBuiltChangedAndImportedAgain()
    {
        add("OpenWindow");
        add("PanelGadget");
        m_window->dispatchMenu(ids::NewPage);
        add("TextGadget");
        select("PanelGadget1");
        m_window->dispatchMenu(ids::NewPage);
        add("StringGadget");
        add("CloseGadgetList");
        add("ButtonGadget");
        QCOMPARE(cards(), QStringLiteral("OpenWindow1@0 PanelGadget1@0 AddGadgetItem1@1 TextGadget1@1 "
                                         "AddGadgetItem2@2 StringGadget1@2 CloseGadgetList1@2 ButtonGadget1@0"));
        QCOMPARE(record("AddGadgetItem2").text, std::string("Seite 2"));
        QCOMPARE(record("AddGadgetItem2").p[0], std::string("PanelGadget1"));
        place("OpenWindow1", 0, 0, 420, 300);
        place("PanelGadget1", 10, 10, 400, 240);
        place("TextGadget1", 10, 10, 100, 20);
        place("StringGadget1", 10, 40, 150, 20);
        place("ButtonGadget1", 310, 260, 100, 25);
        select("PanelGadget1");
        m_window->runEdit("Grösse", "", [&] { record("PanelGadget1").yd = 240; });
        QCOMPARE(problems(), std::string());

        // Pasted while page 1 is shown: onto page 1, where the code creates its gadgets.
        select("StringGadget1");
        m_window->dispatchMenu(ids::Copy);
        select("TextGadget1");
        QCOMPARE(m_window->shownCard(), 1);
        m_window->dispatchMenu(ids::Paste);
        QCOMPARE(indexOf("StringGadget11"), indexOf("TextGadget1") + 1);
        QCOMPARE(record("StringGadget11").card, 1);
        QCOMPARE(problems(), std::string());

        // Up past CloseGadgetList: on page 2 now, and too far right for it.
        select("ButtonGadget1");
        m_window->dispatchGadget(ids::MoveUp);
        QCOMPARE(record("ButtonGadget1").card, 2);
        QVERIFY(QString::fromStdString(problems()).startsWith(QStringLiteral("ButtonGadget1: reicht mit 310,260")));
        m_window->dispatchGadget(ids::MoveDown);
        QCOMPARE(record("ButtonGadget1").card, 0);
        QCOMPARE(problems(), std::string());

        // Renamed: its pages follow, in one step of the history.
        select("PanelGadget1");
        m_window->editCommands()->windows.inputBox = [](const std::string &, QPoint) { return std::string("Reiter"); };
        m_window->propertyList()->setCurrentCell(RowVarId, 1);
        m_window->dispatchGadget(ids::Properties);
        QCOMPARE(record("AddGadgetItem1").p[0], std::string("Reiter"));
        QCOMPARE(record("AddGadgetItem2").p[0], std::string("Reiter"));
        m_window->undo();
        QCOMPARE(record("AddGadgetItem2").p[0], std::string("PanelGadget1"));
        QCOMPARE(indexOf("Reiter"), -1);
        m_window->redo();
        QCOMPARE(record("AddGadgetItem2").p[0], std::string("Reiter"));

        // A third page after the second and its gadgets, on the next free card.
        select("AddGadgetItem2");
        m_window->dispatchMenu(ids::NewPage);
        QCOMPARE(indexOf("AddGadgetItem3"), indexOf("StringGadget1") + 1);
        QCOMPARE(record("AddGadgetItem3").card, 3);
        QCOMPARE(m_window->shownCard(), 3);
        QCOMPARE(record("AddGadgetItem3").xd, 396);
        QCOMPARE(problems(), std::string());

        m_state.listFile = m_dir->path() / "dialog.tbf";
        QVERIFY(m_window->documents().saveList());
        QVERIFY(!m_window->structureButton()->isVisibleTo(m_window));

        // Into a new list: the same dialog, the same code, nothing to report.
        m_dialogs.yesNoAnswers.push_back(true);
        m_window->dispatchMenu(ids::New);
        QCOMPARE(m_state.list.size(), 0);
        m_dialogs.fileAnswers.push_back(m_dir->path() / "dialog.pbi");
        m_window->dispatchMenu(ids::Import);
        QCOMPARE(cards(), QStringLiteral("OpenWindow1@0 Reiter@0 AddGadgetItem@1 TextGadget1@1 StringGadget11@1 "
                                         "AddGadgetItem1@2 StringGadget1@2 AddGadgetItem2@3 CloseGadgetList@0 "
                                         "ButtonGadget1@0"));
        QCOMPARE(problems(), std::string());
        m_state.listFile = m_dir->path() / "again.tbf";
        QVERIFY(m_window->documents().saveList());
        QCOMPARE(codeBody(m_dir->path() / "again.pbi"), codeBody(m_dir->path() / "dialog.pbi"));
    }

    // A click on a tab of the panel shows that page's card, in both
    // drawings; a resized panel takes its pages along, undone as one step.
    void tabsLeadToTheirPagesAndPagesFollowTheirPanel()
    {
        m_window->documents().openList(kSource / "examples" / "demo.tbf");
        for (bool real : {false, true}) {
            m_state.settings.view.realGadgets = real;
            m_window->applyView();
            select("WinAdresse");
            QCOMPARE(m_window->shownCard(), 0);
            const GadgetRecord &panel = record("PanelAdresse");
            clickCanvas(panel.x + 80, panel.y + 5); // past the first tab, "Person"
            QVERIFY(record("PageKontakt").selected);
            QCOMPARE(m_window->shownCard(), 2);
            select("WinAdresse");
            clickCanvas(panel.x + 5, panel.y + 5);
            QCOMPARE(m_window->shownCard(), 1);
            select("WinAdresse");
            clickCanvas(panel.x + 5, panel.y + 60); // inside the panel: the panel itself
            QVERIFY(record("PanelAdresse").selected);
        }
        // The panel's template writes no caption: edited in place, its VarID
        // changes, and its pages' references with it, in one step.
        select("PanelAdresse");
        m_window->dispatchMenu(ids::EditInPlace);
        QLineEdit *editor = m_window->inPlaceEditor()->editor();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Reiter"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(record("PageKontakt").p[0], std::string("Reiter"));
        m_window->undo();
        QCOMPARE(record("PageKontakt").p[0], std::string("PanelAdresse"));

        const std::int32_t width = record("PageKontakt").xd;
        m_window->runEdit("Grösse", "", [&] { record("PanelAdresse").xd += 20; });
        QCOMPARE(record("PageKontakt").xd, width + 20);
        QCOMPARE(record("PagePerson").xd, width + 20);
        m_window->undo();
        QCOMPARE(record("PageKontakt").xd, width);
        QCOMPARE(record("PanelAdresse").xd, width + 4);
    }
};

QTEST_MAIN(StructureTest)
#include "structure_test.moc"
