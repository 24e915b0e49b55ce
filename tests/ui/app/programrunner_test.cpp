// "Programm erzeugen" and "Ausführen" with scripted choosers and a stand-in
// for PureBasic's compiler: a script that checks its arguments and writes a
// small program, or says what a compiler says about a faulty include.
#include "core/codegen/codemodel.h"
#include "core/codegen/mainprogram.h"
#include "core/commands/selection.h"
#include "ui/app/compilerdock.h"
#include "ui/app/programrunner.h"
#include "ui/windowfixture.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

using namespace tafelbau;

using testutil::kSource;

class ProgramRunnerTest : public QObject, testutil::WindowFixture
{
    Q_OBJECT

    std::filesystem::path list() const { return m_dir->path() / "demo.tbf"; }
    std::filesystem::path home() const { return m_dir->path() / "purebasic"; }
    std::filesystem::path marker() const { return m_dir->path() / "started"; }

    ProgramRunner &runner() { return *m_window->programRunner(); }

    /// The stand-in compiler: `body` runs after the check of its arguments
    /// "-e EXECUTABLE SOURCE"; it also leaves the source it was given, its
    /// folder and PUREBASIC_HOME beside the list.
    void installCompiler(const std::string &body)
    {
        const auto path = home() / "compilers" / "pbcompiler";
        std::filesystem::create_directories(path.parent_path());
        const std::string d = m_dir->path().string();
        testutil::writeFile(path, "#!/bin/sh\n"
                                  "[ \"$#\" -eq 3 ] && [ \"$1\" = -e ] && [ -f \"$3\" ] || { echo \"Error: $*\"; exit 9; }\n"
                                  "cp \"$3\" '" + d + "/compiled.pb'\n"
                                  "pwd > '" + d + "/folder'\n" +
                                      body);
        ::chmod(path.c_str(), 0755);
        runner().compilerSearch = [this] { return CompilerSearch{home().string(), ""}; };
    }

    void runAndWait(bool expectStarted)
    {
        QSignalSpy finished(&runner(), &ProgramRunner::runFinished);
        m_window->dispatchMenu(ids::RunProgram);
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), expectStarted);
    }

    QStringList dockLines() const
    {
        QStringList lines;
        QListWidget *w = m_window->programRunner()->dock()->lines();
        for (int i = 0; i < w->count(); ++i)
            lines << w->item(i)->text();
        return lines;
    }

private slots:
    void init()
    {
        begin();
        QVERIFY(loadShippedPool());
        std::filesystem::copy_file(kSource / "examples" / "demo.tbf", list());
        QVERIFY(openWindow(Show::No));
        m_window->documents().openList(list());
        QCOMPARE(m_state.list.size(), 16);
    }

    void cleanup() { end(); }

    void generatedOnceBesideTheListAndNeverWrittenOver()
    {
        const auto main = m_dir->path() / "demo_main.pb";
        m_dialogs.fileAnswers = {main};
        m_window->dispatchMenu(ids::GenerateProgram);
        QCOMPARE(testutil::readFile(main), testutil::readFile(kSource / "examples" / "demo_main.pb"));
        QCOMPARE(m_dialogs.takeCalls(),
                 (std::vector<std::string>{"save: Programm erzeugen | " + main.string()
                                               + " | PureBasic (*.pb)|*.pb|Alle Dateien|*.*",
                                           "message: Hauptprogramm geschrieben: " + main.string()}));

        // Again: a free name is proposed; the taken one is refused and asked again.
        testutil::writeFile(main, "; mine");
        const auto second = m_dir->path() / "demo_main2.pb";
        m_dialogs.fileAnswers = {main, std::nullopt};
        m_window->dispatchMenu(ids::GenerateProgram);
        const auto calls = m_dialogs.takeCalls();
        QCOMPARE(calls.size(), std::size_t(3));
        QVERIFY(calls[0].find("save: Programm erzeugen | " + second.string()) == 0);
        QCOMPARE(calls[1], "message: " + mainProgramExistsMessage(main));
        QVERIFY(calls[2].find("save: Programm erzeugen | " + second.string()) == 0);
        QCOMPARE(testutil::readFile(main), std::string("; mine"));
        QVERIFY(!std::filesystem::exists(second));
    }

    void withoutPureBasicOneMessageSaysWhereItLooked()
    {
        std::filesystem::create_directories(m_dir->path() / "empty");
        runner().compilerSearch = [this] { return CompilerSearch{std::nullopt, (m_dir->path() / "empty").string()}; };
        m_window->dispatchMenu(ids::RunProgram);
        const auto calls = m_dialogs.takeCalls();
        QCOMPARE(calls.size(), std::size_t(1));
        QVERIFY(calls[0].find("PUREBASIC_HOME ist nicht gesetzt") != std::string::npos);
        QVERIFY(calls[0].find("PATH") != std::string::npos);
        QVERIFY(!runner().isCompiling());
        QVERIFY(runner().dock()->isHidden());
    }

    // No main program beside the list: a temporary one, whose include is
    // the code file just saved; the program made is started.
    void compiledIntoATemporaryFolderAndStarted()
    {
        installCompiler("printf '#!/bin/sh\\necho ran > \"%s\"\\n' '" + marker().string() + "' > \"$2\"\n"
                        "chmod +x \"$2\"\n"
                        "echo 'Starting compilation...'\n");
        m_state.list.records()[4].text = "Neu"; // saved before the run
        runAndWait(true);
        QTRY_VERIFY(std::filesystem::exists(marker()));
        QVERIFY(testutil::readFile(m_dir->path() / "demo.pbi").find("\"Neu\"") != std::string::npos);

        const std::filesystem::path folder = runner().startedProgram().parent_path();
        QCOMPARE(runner().startedProgram().filename().string(), std::string("demo"));
        QVERIFY(folder != m_dir->path());
        QCOMPARE(testutil::readFile(m_dir->path() / "folder"), folder.string() + "\n");
        const std::string compiled = testutil::readFile(m_dir->path() / "compiled.pb");
        const std::string include = "XIncludeFile #PB_Compiler_FilePath + \"";
        const std::size_t at = compiled.find(include);
        QVERIFY(at != std::string::npos);
        const std::string relative =
            compiled.substr(at + include.size(), compiled.find('"', at + include.size()) - at - include.size());
        QVERIFY(std::filesystem::equivalent(folder / relative, m_dir->path() / "demo.pbi"));
        const QStringList lines = dockLines();
        QVERIFY(lines.first().contains(QStringLiteral("pbcompiler -e ")));
        QVERIFY(lines.contains(QStringLiteral("Starting compilation...")));
        QVERIFY(lines.last().startsWith(QStringLiteral("Gestartet: ")));
        QVERIFY(runner().dock()->isVisible() || !m_window->isVisible());
    }

    // A main program beside the list is the one compiled; one written
    // under another name in this run comes first.
    void theUsersMainProgramIsCompiled()
    {
        testutil::writeFile(m_dir->path() / "demo_main.pb", "; mine\r\n");
        installCompiler("exit 1\n");
        runAndWait(false);
        QCOMPARE(testutil::readFile(m_dir->path() / "compiled.pb"), std::string("; mine\r\n"));
        QCOMPARE(testutil::readFile(m_dir->path() / "folder"), m_dir->path().string() + "\n");
        QCOMPARE(dockLines().last(), QString::fromUtf8("Übersetzen fehlgeschlagen."));

        std::filesystem::create_directories(m_dir->path() / "src");
        const auto other = m_dir->path() / "src" / "dialog.pb";
        m_dialogs.fileAnswers = {other};
        m_window->dispatchMenu(ids::GenerateProgram);
        QVERIFY(testutil::readFile(other).find("XIncludeFile #PB_Compiler_FilePath + \"../demo.pbi\"")
                != std::string::npos);
        runAndWait(false);
        QCOMPARE(testutil::readFile(m_dir->path() / "compiled.pb"), testutil::readFile(other));
    }

    void anErrorInTheIncludeSelectsItsGadget()
    {
        CodeModel model;
        model.update(m_state.list, m_state.pool.settings, 0);
        const GadgetRecord &name = m_state.list.records()[4]; // StrName
        QCOMPARE(name.varId, std::string("StrName"));
        const int line = model.blockLines(name.lvid).first + 1;
        // It even leaves a program behind, as a compiler may from an earlier
        // run: a failed compilation starts nothing.
        installCompiler("printf '#!/bin/sh\\necho ran > \"%s\"\\n' '" + marker().string() + "' > \"$2\"\n"
                        "chmod +x \"$2\"\n"
                        "echo \"Error: in included file 'demo.pbi'\"\n"
                        "echo 'Line " + std::to_string(line) + " - Syntax error.'\n"
                        "exit 1\n");
        runAndWait(false);
        QTest::qWait(200);
        QVERIFY(!std::filesystem::exists(marker()));
        QCOMPARE(m_window->state().list.records()[4].selected, true);
        for (std::size_t i = 0; i < m_state.list.records().size(); ++i)
            QCOMPARE(m_state.list.records()[i].selected != 0, i == 4);

        // The row names the gadget: a click on it selects it again.
        QListWidget *rows = runner().dock()->lines();
        QListWidgetItem *row = rows->findItems(QStringLiteral("Line "), Qt::MatchStartsWith).value(0);
        QVERIFY(row);
        m_window->applyOutcome(selectByVarId(m_state.list, "WinAdresse"));
        QVERIFY(!m_state.list.records()[4].selected);
        emit rows->itemClicked(row);
        QVERIFY(m_state.list.records()[4].selected);
    }
};

QTEST_MAIN(ProgramRunnerTest)
#include "programrunner_test.moc"
