// Entry points of the widget library, looked up by the program at run time.
#include "app/qtdialogs.h"
#include "app/startup.h"

#include <QApplication>
#include <cstdio>

extern "C" {

__attribute__((visibility("default"))) void tafelbau_message_box(const char *utf8)
{
    int argc = 1;
    static char name[] = "tafelbau";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // lives until the process ends
    tafelbau::QtDialogs().showMessage(utf8);
}

__attribute__((visibility("default"))) int tafelbau_run_editor(int argc, char **argv)
{
    QApplication app(argc, argv);
    tafelbau::QtDialogs dialogs;
    tafelbau::AppState state;
    tafelbau::startUp(state, dialogs, tafelbau::StartupEnvironment::fromProcess());
    std::fputs("Tafelbau: the editor window is not built yet; use /refreshcode or /import.\n", stderr);
    return 0;
}

} // extern "C"
