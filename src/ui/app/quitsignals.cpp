#include "ui/app/quitsignals.h"

#include "ui/app/mainwindow.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tafelbau {

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP};

void onSignal(int sig)
{
    const int saved = errno;
    const char number = static_cast<char>(sig);
    // A full pipe already holds a signal the loop will see.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &number, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(MainWindow &window) : QObject(&window), m_window(window)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::received);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    for (const int sig : kSignals)
        ::signal(sig, SIG_DFL);
    for (int &fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void QuitSignals::received()
{
    char number = 0;
    if (::read(g_pipe[0], &number, 1) != 1)
        return;
    m_window.documents().keepRecovery();
    // Ended as the signal ends a process: whoever sent it sees that.
    ::signal(number, SIG_DFL);
    ::raise(number);
}

} // namespace tafelbau
