// A killed editor leaves its unsaved changes behind for the next run: the
// editor runs in a child process (this program again), is killed, and the
// list opened afterwards offers what it had.
#include "core/app/appstate.h"
#include "core/document/listfile.h"
#include "scripteddialogs.h"
#include "testutil.h"
#include "ui/app/mainwindow.h"
#include "ui/app/quitsignals.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>

using namespace tafelbau;

namespace {

constexpr const char *kChildVariable = "TAFELBAU_TEST_EDITOR_CHILD";

struct NullViews : DocumentViews
{
    void showTitle(const std::string &) override {}
    void refreshGadgetList() override {}
};

struct OwnState : FileOps
{
    std::filesystem::path folder;
    std::filesystem::path stateFolder() override { return folder; }
};

GadgetRecord gadget(const std::string &id)
{
    GadgetRecord r;
    r.name = "ButtonGadget";
    r.varId = id;
    r.code = "X(#[id])";
    return r;
}

// The editor as the program runs it, with one unsaved change; "ready" when
// it waits for events. Arguments: the list, the recovery's delay in ms and
// the state folder.
int runEditor(int argc, char **argv)
{
    // The test's own state folder, not the one every test program makes for
    // itself (which a kill would leave behind).
    if (const char *own = std::getenv("XDG_STATE_HOME")) {
        std::error_code ec;
        std::filesystem::remove_all(own, ec);
    }
    ::setenv("XDG_STATE_HOME", argv[3], 1);
    QApplication app(argc, argv);
    testutil::ScriptedDialogs dialogs;
    AppState state;
    state.pool.settings.codeFileExt = ".pbi";
    MainWindow window(state, dialogs);
    new QuitSignals(window);
    window.setRecoveryDelay(std::atoi(argv[2]));
    window.documents().openList(argv[1]);
    window.runEdit("Umbenennen", {}, [&] { state.list.records()[0].varId = "Unsaved"; });
    window.documents().updateTitle(true);
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void aKilledEditorLeavesItsChangesForTheNextRun()
    {
        const struct
        {
            int signal;
            const char *delay; ///< of the recovery; SIGTERM must not wait for it
        } cases[] = {{SIGTERM, "600000"}, {SIGHUP, "600000"}, {SIGKILL, "50"}};
        for (const auto &c : cases) {
            testutil::TempDir dir;
            const auto list = dir / "list.tbf";
            GdtList saved;
            saved.append(gadget("Saved"));
            QVERIFY(writeListFile(list, saved).ok);
            const std::string onDisk = testutil::readFile(list);
            const auto stateHome = dir / "state";

            QProcess editor;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            editor.setProcessEnvironment(env);
            editor.start(QCoreApplication::applicationFilePath(),
                         {QString::fromStdString(list.string()), QString::fromLatin1(c.delay),
                          QString::fromStdString(stateHome.string())});
            QVERIFY(editor.waitForStarted());
            QByteArray said;
            while (!said.contains("ready") && editor.waitForReadyRead(20000))
                said += editor.readAllStandardOutput();
            QVERIFY2(said.contains("ready"), editor.readAllStandardError().constData());
            const std::filesystem::path recoveryFolder = stateHome / "Tafelbau" / "recovery";
            // A kill -9 finds what the timer wrote last.
            auto recoveryWritten = [&] {
                std::error_code ec;
                for (std::filesystem::directory_iterator it(recoveryFolder, ec), end; !ec && it != end; ++it)
                    if (it->path().extension() == ".tbf")
                        return true;
                return false;
            };
            if (c.signal == SIGKILL)
                QTRY_VERIFY_WITH_TIMEOUT(recoveryWritten(), 10000);
            ::kill(static_cast<pid_t>(editor.processId()), c.signal);
            QVERIFY(editor.waitForFinished(20000));
            // Ended by the signal, as an editor that does not catch it.
            QCOMPARE(editor.exitStatus(), QProcess::CrashExit);
            QCOMPARE(testutil::readFile(list), onDisk);

            AppState next;
            testutil::ScriptedDialogs dialogs;
            NullViews views;
            OwnState files;
            files.folder = stateHome / "Tafelbau";
            DocumentCommands commands(
                next.document(), dialogs, views, [] { return std::time_t{0}; }, files);
            dialogs.choiceAnswers = {0};
            commands.openList(list);
            QVERIFY2(dialogs.calls.size() == 1, qPrintable(QStringLiteral("signal %1").arg(c.signal)));
            QVERIFY2(dialogs.calls[0].starts_with("choice: Gadgetliste wiederherstellen"), dialogs.calls[0].c_str());
            QCOMPARE(next.list.size(), 1);
            QCOMPARE(next.list.records()[0].varId, std::string("Unsaved"));
            QVERIFY(next.changed);
        }
    }
};

int main(int argc, char **argv)
{
    if (std::getenv(kChildVariable) && argc == 4)
        return runEditor(argc, argv);
    QApplication app(argc, argv);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "recovery_test.moc"
