// The dialog's structure in the main window: the problems window and the
// save that counts them, new pages, commands that keep cards and code in
// step, and the whole two-page dialog built, changed and imported again.
#include "core/codegen/structurecheck.h"
#include "core/document/listfile.h"
#include "core/pool/poolfile.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/app/editcommands.h"
#include "ui/app/mainwindow.h"
#include "ui/windows/structurewindow.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace tafelbau;

namespace {
const std::filesystem::path kSource = TAFELBAU_SOURCE_DIR;
} // namespace

class StructureTest : public QObject
{
    Q_OBJECT

    testutil::TempDir *m_dir = nullptr;
    AppState m_state;
    testutil::ScriptedDialogs m_dialogs;
    MainWindow *m_window = nullptr;

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
    void select(const std::string &varId)
    {
        for (GadgetRecord &r : m_state.list.records())
            r.selected = r.varId == varId;
        m_window->refreshGadgetList();
    }
    std::string problems() const
    {
        std::string out;
        for (const StructureProblem &p : checkStructure(m_state.list))
            out += p.text + "\n";
        return out;
    }

private slots:
    void init()
    {
        m_dir = new testutil::TempDir;
        m_state = AppState{};
        m_state.settingsFile = m_dir->path() / "Tafelbau.ini";
        QVERIFY(loadGdtPool(kSource / "data" / "TafelbauGadgetPool.ini", m_state.pool));
        m_dialogs = {};
        m_window = new MainWindow(m_state, m_dialogs);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        delete m_dir;
    }

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
};

QTEST_MAIN(StructureTest)
#include "structure_test.moc"
