// Entry points of the widget library, looked up by the program at run time.
#include "core/app/editorentry.h"

#include "core/app/startup.h"
#include "core/document/displayscale.h"
#include "ui/app/mainwindow.h"
#include "ui/app/qtdialogs.h"
#include "ui/app/quitsignals.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

namespace {

float screenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return tafelbau::displayScaleFor(-1.0f, screen ? static_cast<float>(screen->logicalDotsPerInchX()) : 96.0f);
}

} // namespace

extern "C" {

void tafelbau_message_box(const char *utf8)
{
    int argc = 1;
    static char name[] = "tafelbau";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        new QApplication(argc, argv); // lives until the process ends
        tafelbau::installQtGerman();
    }
    tafelbau::QtDialogs().showMessage(utf8);
}

int tafelbau_run_editor(int argc, char **argv)
{
    QApplication app(argc, argv);
    tafelbau::installQtGerman();
    // Ties the windows to the menu entry and its icon (Wayland matches the
    // desktop file by this name, X11 docks use the window icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("tafelbau"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tafelbau")));
    // The window's gadgets are laid out for an 8-point dialog font.
    // "Arial" finds a metric-compatible sans through fontconfig where the
    // real one is missing, so captions fit the sizes given for them.
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    QApplication::setFont(font);
    tafelbau::QtDialogs dialogs;
    tafelbau::AppState state;
    tafelbau::startUp(state, dialogs, tafelbau::StartupEnvironment::fromProcess());
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tafelbau::CommandLine cl = tafelbau::parseCommandLine(args);
    state.startFile = cl.startFile;
    state.displayScale = screenScale();

    tafelbau::MainWindow window(state, dialogs);
    QObject::connect(&window, &tafelbau::MainWindow::quitConfirmed, &app, &QApplication::quit, Qt::QueuedConnection);
    dialogs.setParent(&window);
    new tafelbau::QuitSignals(window);
    window.show();
    if (!state.startFile.empty())
        window.documents().openList(state.startFile);
    else
        window.documents().offerRecoveryAtStart();
    return app.exec();
}

} // extern "C"
