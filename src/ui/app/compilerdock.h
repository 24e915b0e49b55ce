#pragma once

#include <QDockWidget>

#include <cstdint>
#include <optional>

class QListWidget;

namespace tafelbau {

/// The dock "Compiler": what the last run of PureBasic's compiler said, one
/// row per line. A row about a line of a gadget's code names that gadget; a
/// click on it reports the gadget.
class CompilerDock : public QDockWidget
{
    Q_OBJECT
public:
    explicit CompilerDock(QWidget *parent = nullptr);

    void clear();
    /// A row; `lvid` is the gadget it is about, if any.
    void addLine(const QString &text, std::optional<std::int32_t> lvid = std::nullopt);

    QListWidget *lines() const { return m_lines; }

signals:
    void gadgetClicked(std::int32_t lvid);

private:
    QListWidget *m_lines = nullptr;
};

} // namespace tafelbau
