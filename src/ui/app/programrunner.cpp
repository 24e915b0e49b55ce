#include "ui/app/programrunner.h"

#include "core/codegen/codefile.h"
#include "core/codegen/compilermessages.h"
#include "core/codegen/mainprogram.h"
#include "core/commands/selection.h"
#include "core/document/latin1.h"
#include "ui/app/compilerdock.h"
#include "ui/app/mainwindow.h"
#include "ui/document/qtconvert.h"

#include <QTemporaryDir>

namespace tafelbau {

namespace {

constexpr const char *kProgramFilter = "PureBasic (*.pb)|*.pb|Alle Dateien|*.*";

// A name beside `path` that is not taken yet: "x_main2.pb", "x_main3.pb", ...
std::filesystem::path freeName(const std::filesystem::path &path)
{
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n) {
        const std::filesystem::path candidate =
            path.parent_path() / (path.stem().native() + std::to_string(n) + path.extension().native());
        if (!std::filesystem::exists(candidate, ec))
            return candidate;
    }
    return path;
}

} // namespace

ProgramRunner::ProgramRunner(MainWindow &window) : QObject(&window), m_window(window)
{
    m_dock = new CompilerDock(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, m_dock);
    m_dock->hide();
    connect(m_dock, &CompilerDock::gadgetClicked, this, [this](std::int32_t lvid) {
        m_window.applyOutcome(selectByLvid(m_window.state().list, lvid));
    });
    m_compiler.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_compiler, &QProcess::finished, this, &ProgramRunner::compilerFinished);
    connect(&m_compiler, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            end(QStringLiteral("Der Compiler lässt sich nicht starten: ") + m_compiler.errorString(), false);
    });
    window.setCommand(ids::GenerateProgram, [this] { generateProgram(); });
    window.setCommand(ids::RunProgram, [this] { run(); });
}

ProgramRunner::~ProgramRunner()
{
    // The editor is closing: a compilation still going has no one to report to.
    if (isCompiling()) {
        m_compiler.disconnect(this);
        m_compiler.kill();
        m_compiler.waitForFinished(1000);
    }
}

void ProgramRunner::generateProgram()
{
    AppState &state = m_window.state();
    if (state.listFile.empty() && !m_window.documents().save())
        return;
    const std::filesystem::path codeFile = codeFileNames(state.listFile, state.pool.settings).code;
    std::filesystem::path proposed = freeName(defaultMainProgramPath(state.listFile));
    for (;;) {
        const auto chosen = m_window.dialogs().chooseSaveFile("Programm erzeugen", proposed, kProgramFilter);
        if (!chosen)
            return;
        const MainProgramFiles files{state.listFile.filename().string(), pathFrom(chosen->parent_path(), codeFile)};
        switch (writeNewFile(*chosen, mainProgramBytes(state.list, state.pool.settings, files))) {
        case NewFile::Written:
            m_written[state.listFile] = *chosen;
            m_window.dialogs().showMessage("Hauptprogramm geschrieben: " + chosen->string());
            return;
        case NewFile::Exists:
            m_window.dialogs().showMessage(mainProgramExistsMessage(*chosen));
            proposed = freeName(*chosen);
            continue;
        case NewFile::Failed: m_window.dialogs().showMessage(mainProgramFailedMessage(*chosen)); return;
        }
    }
}

std::filesystem::path ProgramRunner::mainProgramFor(const std::filesystem::path &listFile,
                                                    const std::filesystem::path &folder)
{
    std::error_code ec;
    if (const auto it = m_written.find(listFile); it != m_written.end() && std::filesystem::exists(it->second, ec))
        return it->second;
    const std::filesystem::path beside = defaultMainProgramPath(listFile);
    if (std::filesystem::is_regular_file(beside, ec))
        return beside;
    const AppState &state = m_window.state();
    const std::filesystem::path temporary = folder / beside.filename();
    const MainProgramFiles files{listFile.filename().string(), pathFrom(folder, m_codeFile)};
    if (writeNewFile(temporary, mainProgramBytes(state.list, state.pool.settings, files)) != NewFile::Written)
        return {};
    return temporary;
}

void ProgramRunner::run()
{
    if (isCompiling()) {
        m_dock->addLine(QString::fromUtf8("Der Compiler läuft noch; sein Ende wird hier gemeldet."));
        return;
    }
    const CompilerSearch search = compilerSearch();
    const auto compiler = findPureBasicCompiler(search);
    if (!compiler) {
        m_window.dialogs().showMessage(compilerMissingMessage(search));
        return;
    }
    if (!m_window.documents().save())
        return;
    AppState &state = m_window.state();
    m_savedList = state.list;
    m_codeFile = codeFileNames(state.listFile, state.pool.settings).code;

    m_dock->clear();
    m_dock->show();
    m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tafelbau-XXXXXX"));
    if (!m_folder->isValid()) {
        end(QStringLiteral("Kein temporärer Ordner: ") + m_folder->errorString(), false);
        return;
    }
    const std::filesystem::path folder = m_folder->path().toStdString();
    m_source = mainProgramFor(state.listFile, folder);
    if (m_source.empty()) {
        end(QStringLiteral("Das Hauptprogramm lässt sich nicht schreiben in ") + fromPath(folder), false);
        return;
    }
    m_executable = folder / state.listFile.stem();

    QStringList arguments;
    for (const std::string &a : compilerArguments(m_source, m_executable))
        arguments << fromUtf8(a);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (const auto home = homeForCompiler(search, *compiler))
        environment.insert(QStringLiteral("PUREBASIC_HOME"), fromPath(*home));
    m_compiler.setProcessEnvironment(environment);
    m_compiler.setWorkingDirectory(fromPath(m_source.parent_path()));
    m_compiler.setProgram(fromPath(*compiler));
    m_compiler.setArguments(arguments);
    m_dock->addLine(fromPath(*compiler) + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
    m_compiler.start();
}

void ProgramRunner::compilerFinished(int exitCode, QProcess::ExitStatus status)
{
    const QByteArray output = m_compiler.readAll();
    const std::vector<CompilerMessage> messages =
        parseCompilerOutput(std::string_view(output.constData(), static_cast<std::size_t>(output.size())));
    const AppState &state = m_window.state();
    const auto gadgets =
        gadgetsOfMessages(messages, m_codeFile, m_source.parent_path(), m_savedList, state.pool.settings);
    std::optional<std::int32_t> first;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const QByteArray bytes(messages[i].text.data(), static_cast<qsizetype>(messages[i].text.size()));
        m_dock->addLine(QString::fromLocal8Bit(bytes), gadgets[i]);
        if (!first)
            first = gadgets[i];
    }
    // The first message about a gadget's code shows that gadget at once.
    if (first)
        m_window.applyOutcome(selectByLvid(m_window.state().list, *first));

    std::error_code ec;
    if (status != QProcess::NormalExit || exitCode != 0 || !std::filesystem::is_regular_file(m_executable, ec)) {
        end(QStringLiteral("Übersetzen fehlgeschlagen."), false);
        return;
    }
    if (!QProcess::startDetached(fromPath(m_executable), {}, fromPath(m_source.parent_path()))) {
        end(QStringLiteral("Das Programm lässt sich nicht starten: ") + fromPath(m_executable), false);
        return;
    }
    m_started = m_executable;
    end(QStringLiteral("Gestartet: ") + fromPath(m_executable), true);
}

void ProgramRunner::end(const QString &line, bool started)
{
    m_dock->addLine(line);
    emit runFinished(started);
}

} // namespace tafelbau
