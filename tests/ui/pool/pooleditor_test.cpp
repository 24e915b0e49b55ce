// The pool editor window driven as a user would, with scripted dialogs.
#include "core/app/appstate.h"
#include "core/document/latin1.h"
#include "core/pool/poolfile.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/pool/pooleditor.h"
#include "ui/pool/programtemplatesdialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace tafelbau;

class PoolEditorTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<testutil::TempDir> m_dir;
    AppState m_state;
    testutil::ScriptedDialogs m_dialogs;
    std::unique_ptr<PoolEditor> m_editor;

    void openEditor(float scale = 1.0f)
    {
        m_editor.reset();
        m_state.displayScale = scale;
        loadGdtPool(m_state.poolFile, m_state.pool);
        m_editor = std::make_unique<PoolEditor>(m_state.pool, m_state.poolFile, m_state.displayScale, m_dialogs);
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    }

    template<typename T = QLineEdit>
    T *field(const char *key) const
    {
        T *w = m_editor->findChild<T *>(QString::fromLatin1(key));
        if (!w)
            qFatal("no field %s", key);
        return w;
    }

    QListWidget *list() const { return field<QListWidget>("poollist"); }

    QStringList rows() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }

    void clickRow(int row)
    {
        QListWidgetItem *item = list()->item(row);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
    }

    void click(const char *button) { QTest::mouseClick(field<QPushButton>(button), Qt::LeftButton); }

    void type(const char *key, const QString &text)
    {
        // keyClicks knows no umlauts; inserting is what typing does.
        field(key)->selectAll();
        field(key)->insert(text);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<testutil::TempDir>();
        m_state = AppState{};
        m_state.poolFile = m_dir->path() / "TafelbauGadgetPool.ini";
        m_state.pool.settings.generalPrgHelpFile = "/help/general.chm";
        for (const char *name : {"OpenWindow", "ButtonGadget"}) {
            PoolEntry e;
            e.name = name;
            e.code = std::string(name) + "(#[id])\r\n\tnext";
            m_state.pool.entries.push_back(e);
        }
        QVERIFY(saveGdtPool(m_state.poolFile, m_state.pool).ok);
        m_dialogs = {};
        openEditor();
    }

    void cleanup()
    {
        m_editor.reset();
        m_dir.reset();
    }

    void tableGeometryScaled_data()
    {
        QTest::addColumn<float>("scale");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QRect>("helptopic");
        QTest::newRow("1") << 1.0f << QSize(860, 570) << QRect(6, 5, 190, 510) << QRect(430, 545, 425, 20);
        // 7.5 rounds to the even 8.
        QTest::newRow("1.5") << 1.5f << QSize(1290, 855) << QRect(9, 8, 285, 765) << QRect(645, 818, 638, 30);
    }

    void tableGeometryScaled()
    {
        QFETCH(float, scale);
        openEditor(scale);
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Gadget Pool"));
        QTEST(m_editor->size(), "size");
        QTEST(list()->geometry(), "list");
        QTEST(field("helptopic")->geometry(), "helptopic");
    }

    void addRenameRecolourAndSave()
    {
        QSignalSpy closed(m_editor.get(), &PoolEditor::poolEditorClosed);
        QCOMPARE(rows(), (QStringList{"ButtonGadget", "OpenWindow"}));
        QCOMPARE(field<QPlainTextEdit>("code")->toPlainText(), QStringLiteral("ButtonGadget(#[id])\n\tnext"));
        type("name", QString::fromUtf8("Knöpfchen"));
        click("new");
        QCOMPARE(rows(), (QStringList{"ButtonGadget", QString::fromUtf8("Knöpfchen"), "OpenWindow"}));
        QCOMPARE(field("name")->text(), QStringLiteral("ButtonGadget")); // the selected row is shown again

        clickRow(1);
        QCOMPARE(field("name")->text(), QString::fromUtf8("Knöpfchen"));
        type("name", QStringLiteral("Taste"));
        field<QPlainTextEdit>("code")->setPlainText(QStringLiteral("Taste(#[id])\nzwei"));
        clickRow(0); // the take-over stores the rename
        QCOMPARE(rows(), (QStringList{"ButtonGadget", "OpenWindow", "Taste"}));

        clickRow(2);
        m_dialogs.colourAnswers = {0x0000FFu};
        QTest::mouseClick(field("color"), Qt::LeftButton);
        QCOMPARE(m_dialogs.takeCalls(), std::vector<std::string>{"colour: 12632256"});
        QCOMPARE(field("color")->text(), QStringLiteral("255"));
        QCOMPARE(field("color")->palette().color(QPalette::Base), QColor(255, 0, 0));
        // The focus coming back as the chooser closes opens nothing.
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(field("color"), &back);
        QVERIFY(m_dialogs.calls.empty());

        click("save");
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.first().first().toBool(), true);
        GdtPool reloaded;
        QVERIFY(loadGdtPool(m_state.poolFile, reloaded));
        QVERIFY(reloaded.find("Taste"));
        QCOMPARE(reloaded.find("Taste")->code, std::string("Taste(#[id])\r\nzwei"));
        QCOMPARE(reloaded.find("Taste")->color, 0x0000FFu);
    }

    // The answers themselves are the model's; here the window follows them.
    void closeQuestionKeepsOrClosesTheWindow()
    {
        type("name", QStringLiteral("Neu"));
        click("new");
        m_dialogs.yesNoCancelAnswers = {Answer::Cancel, Answer::No};
        m_editor->close();
        QVERIFY(m_editor->isVisible());
        m_editor->close();
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(m_dialogs.calls.size(), std::size_t(2));
    }

    void refusedNameStaysTypedInTheWindow()
    {
        type("name", QStringLiteral("OpenWindow"));
        click("new");
        QCOMPARE(m_dialogs.takeCalls(),
                 std::vector<std::string>{
                     latin1ToUtf8("message: Name ist schon vorhanden - bitte einen anderen w\xE4hlen")});
        QCOMPARE(rows().size(), 2);
        QCOMPARE(field("name")->text(), QStringLiteral("OpenWindow"));
    }

    void f1OpensTheHelpOfTheFieldsAndEscapeAndReturnDoNothing()
    {
        std::vector<HelpTarget> opened;
        m_editor->setHelpOpener([&](const HelpTarget &t) { opened.push_back(t); });
        type("helptopic", QStringLiteral("gadget/buttongadget.html"));
        QTest::keyClick(field<QPlainTextEdit>("code"), Qt::Key_F1);
        QCOMPARE(opened.size(), std::size_t(1));
        QCOMPARE(opened[0].location, std::string("/help/general.chm::/gadget/buttongadget.html"));

        type("name", QStringLiteral("Neuer"));
        QTest::keyClick(field("name"), Qt::Key_Return);
        QTest::keyClick(field("name"), Qt::Key_Escape);
        QVERIFY(m_editor->isVisible());
        QCOMPARE(rows().size(), 2);
        QVERIFY(m_dialogs.calls.empty());
    }

    // The button hands the templates in use to the edit and stores what
    // comes back; the dialog itself shows them and puts the built-in ones back.
    void programTemplatesEditedThroughTheirButton()
    {
        std::optional<ProgramTemplates> shown;
        ProgramTemplates edited = builtInProgramTemplates();
        edited.eventCase = "Case #[id] : [id]_Klick()\r\n";
        std::optional<ProgramTemplates> answer;
        m_editor->editProgramTemplates = [&](const ProgramTemplates &t) {
            shown = t;
            return answer;
        };
        click("programtemplates"); // cancelled
        QCOMPARE(shown, std::optional(builtInProgramTemplates()));
        QVERIFY(!m_editor->model().poolChanged());
        answer = edited;
        click("programtemplates");
        QVERIFY(m_editor->model().poolChanged());
        click("save");
        GdtPool onDisk;
        QVERIFY(loadGdtPool(m_state.poolFile, onDisk));
        QCOMPARE(onDisk.settings.mainCase, std::optional(edited.eventCase));

        ProgramTemplatesDialog dialog(edited);
        auto *caseField = dialog.findChild<QPlainTextEdit *>(QStringLiteral("case"));
        QCOMPARE(caseField->toPlainText(), QStringLiteral("Case #[id] : [id]_Klick()\n"));
        caseField->setPlainText(QStringLiteral("a\nb"));
        QCOMPARE(dialog.templates().eventCase, std::string("a\r\nb"));
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("builtin")), Qt::LeftButton);
        QCOMPARE(dialog.templates(), builtInProgramTemplates());
    }
};

QTEST_MAIN(PoolEditorTest)
#include "pooleditor_test.moc"
