#pragma once

#include "core/codegen/purebasiccompiler.h"
#include "core/document/gdtlist.h"

#include <QObject>
#include <QProcess>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

class QTemporaryDir;

namespace tafelbau {

class CompilerDock;
class MainWindow;

/// "Datei" -> "Programm erzeugen …" and "Ausführen" (F5): a main program
/// around the list's include, written once beside it; and a run of
/// PureBasic's compiler on it (or on a temporary one) into a temporary
/// folder, its messages in the dock "Compiler", then the program started.
/// The compiler and the program are started with argument lists, never
/// through a shell. Plugs its commands into the window's table.
class ProgramRunner : public QObject
{
    Q_OBJECT
public:
    explicit ProgramRunner(MainWindow &window);
    ~ProgramRunner() override;

    /// Where the compiler is looked for; the process's environment unless
    /// a test says otherwise.
    std::function<CompilerSearch()> compilerSearch = &CompilerSearch::fromEnvironment;

    void generateProgram();
    void run();

    CompilerDock *dock() const { return m_dock; }
    bool isCompiling() const { return m_compiler.state() != QProcess::NotRunning; }
    /// The program last started; empty before.
    const std::filesystem::path &startedProgram() const { return m_started; }

signals:
    /// A run has ended: compiled and started, or not.
    void runFinished(bool started);

private:
    /// The main program of the saved list: the one written for it in this
    /// run of the editor, else "<name>_main.pb" beside it when there, else
    /// a temporary one in `folder`; empty when none could be written.
    std::filesystem::path mainProgramFor(const std::filesystem::path &listFile, const std::filesystem::path &folder);
    void compilerFinished(int exitCode, QProcess::ExitStatus status);
    void end(const QString &line, bool started);

    MainWindow &m_window;
    CompilerDock *m_dock = nullptr;
    QProcess m_compiler;
    std::unique_ptr<QTemporaryDir> m_folder;
    /// Main programs written by "Programm erzeugen", by list file.
    std::map<std::filesystem::path, std::filesystem::path> m_written;

    // What the running compilation works on.
    GdtList m_savedList; ///< as its code file was written
    std::filesystem::path m_codeFile;
    std::filesystem::path m_source;
    std::filesystem::path m_executable;
    std::filesystem::path m_started;
};

} // namespace tafelbau
