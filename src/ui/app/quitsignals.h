// SIGTERM and SIGHUP (a logout, a shutdown, `kill`) end the editor with
// its unsaved changes kept in the recovery file.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace tafelbau {

class MainWindow;

/// Catches SIGTERM and SIGHUP for `window`'s process. The handler itself
/// only writes the signal's number into a pipe (nothing else is safe inside
/// it); the event loop reads it, keeps the recovery, and ends the process
/// by the signal, as if it had not been caught. One per process.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(MainWindow &window);
    ~QuitSignals() override;

private:
    void received();

    MainWindow &m_window;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace tafelbau
