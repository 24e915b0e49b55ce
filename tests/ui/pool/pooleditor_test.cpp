// The pool editor window driven as a user would, with scripted dialogs.
#include "core/app/appstate.h"
#include "core/document/latin1.h"
#include "core/pool/poolfile.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/pool/pooleditor.h"

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

    void buildsTheTableGeometryScaled()
    {
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Gadget Pool"));
        QCOMPARE(m_editor->size(), QSize(860, 570));
        QCOMPARE(list()->geometry(), QRect(6, 5, 190, 510));
        QCOMPARE(field("name")->geometry(), QRect(235, 2, 605, 20));
        QCOMPARE(field<QPlainTextEdit>("code")->geometry(), QRect(200, 45, 655, 205));
        QCOMPARE(field("p7")->geometry(), QRect(550, 405, 125, 20));
        QCOMPARE(field("color")->geometry(), QRect(785, 377, 60, 20));
        QCOMPARE(field("helptopic")->geometry(), QRect(430, 545, 425, 20));
        QCOMPARE(field<QPushButton>("cancel")->geometry(), QRect(70, 545, 60, 20));

        openEditor(1.5f);
        QCOMPARE(m_editor->size(), QSize(1290, 855));
        QCOMPARE(list()->geometry(), QRect(9, 8, 285, 765)); // 7.5 rounds to the even 8
        QCOMPARE(field("yd")->geometry(), QRect(1178, 692, 68, 30));
    }

    void addRenameRecolourSaveAndReload()
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
        QVERIFY(m_dialogs.calls.empty());

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
        QVERIFY(m_editor->poolChanged());

        GdtPool reloaded;
        QVERIFY(loadGdtPool(m_state.poolFile, reloaded));
        const PoolEntry *taste = reloaded.find("Taste");
        QVERIFY(taste);
        QCOMPARE(taste->color, 0x0000FFu);
        QCOMPARE(taste->code, std::string("Taste(#[id])\r\nzwei"));
        QVERIFY(!reloaded.find("Kn\xF6pfchen"));

        openEditor();
        QCOMPARE(rows(), (QStringList{"ButtonGadget", "OpenWindow", "Taste"}));
        clickRow(2);
        QCOMPARE(field("color")->text(), QStringLiteral("255"));
    }

    void closeQuestionAnswers()
    {
        const std::string question =
            "yesnocancel: Tafelbau - Gadget Pool | " + latin1ToUtf8("\xC4nderungen \374bernehmen?");
        for (Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
            openEditor();
            m_dialogs.calls.clear();
            type("name", QStringLiteral("Neu%1").arg(static_cast<int>(answer)));
            click("new");
            m_dialogs.yesNoCancelAnswers = {answer};
            m_editor->close();
            QCOMPARE(m_dialogs.takeCalls(), std::vector<std::string>{question});
            const bool added = m_state.pool.find("Neu" + std::to_string(static_cast<int>(answer))) != nullptr;
            QCOMPARE(m_editor->isVisible(), answer == Answer::Cancel);
            QCOMPARE(added, answer != Answer::No);
            GdtPool onDisk;
            loadGdtPool(m_state.poolFile, onDisk);
            QCOMPARE(onDisk.entries.size(), answer == Answer::Yes ? std::size_t(3) : std::size_t(2));
        }
    }

    void refusedNamesKeepTheWindowAsTyped()
    {
        const QString caseOnly = QString::fromUtf8("Name unterscheidet sich von \"ButtonGadget\" nur durch "
                                                   "Groß-/Kleinschreibung - bitte einen anderen wählen");
        const struct
        {
            const char *name;
            QString expected;
        } cases[] = {
            {"OpenWindow", QString::fromUtf8("Name ist schon vorhanden - bitte einen anderen wählen")},
            {"buttongadget", caseOnly},
            {"Fenster]", QStringLiteral("Dieser Name")},
        };
        for (const auto &c : cases) {
            type("name", QString::fromLatin1(c.name));
            click("new");
            const auto calls = m_dialogs.takeCalls();
            QCOMPARE(calls.size(), std::size_t(1));
            QVERIFY2(QString::fromStdString(calls[0]).startsWith("message: " + c.expected), calls[0].c_str());
            QCOMPARE(rows().size(), 2);
            QCOMPARE(field("name")->text(), QString::fromLatin1(c.name));
        }
    }

    void f1OpensTheHelpOfTheFields()
    {
        std::vector<HelpTarget> opened;
        m_editor->setHelpOpener([&](const HelpTarget &t) { opened.push_back(t); });
        type("helptopic", QStringLiteral("gadget/buttongadget.html"));
        QTest::keyClick(field<QPlainTextEdit>("code"), Qt::Key_F1);
        QCOMPARE(opened.size(), std::size_t(1));
        QCOMPARE(opened[0].location, std::string("/help/general.chm::/gadget/buttongadget.html"));
    }

    void escapeAndReturnDoNothing()
    {
        type("name", QStringLiteral("Neuer"));
        QTest::keyClick(field("name"), Qt::Key_Return);
        QTest::keyClick(field("name"), Qt::Key_Escape);
        QVERIFY(m_editor->isVisible());
        QCOMPARE(rows().size(), 2);
        QVERIFY(m_dialogs.calls.empty());
    }
};

QTEST_MAIN(PoolEditorTest)
#include "pooleditor_test.moc"
