#pragma once

#include "core/codegen/codemodel.h"
#include "core/document/gdtlist.h"
#include "core/pool/poolentry.h"

#include <QDockWidget>
#include <QPoint>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QPlainTextEdit;
class QTimer;

namespace tafelbau {

class PureBasicHighlighter;

/// A dock with the code file a save would write, read-only and coloured,
/// kept in step with the gadget list by line edits. The lines of every
/// selected gadget are marked, the current gadget's kept in sight; a click
/// on a gadget's line reports that gadget.
///
/// The list and the pool settings are read, never changed; both must outlive
/// the view. While the dock is hidden, refresh() only notes that the text is
/// behind, and showing the dock brings it up to date.
class CodeView : public QDockWidget
{
    Q_OBJECT
public:
    /// Longest line shown whole; the rest of a longer one gives way to a
    /// note of how much was left out, so that a value of megabytes neither
    /// stalls the view nor shifts its lines.
    static constexpr int kMaxShownLineLength = 20000;

    CodeView(const GdtList &list, const PoolSettings &settings, QWidget *parent = nullptr);
    ~CodeView() override;

    /// Where the date line's time comes from; the current time by default.
    void setClock(std::function<std::time_t()> clock);

    /// Brings the text and the marked lines in step with the list.
    void refresh();
    /// Brings only the header in step: the date, the pool's comment marker.
    /// Cheap whatever the size of the list.
    void refreshHead();

    QPlainTextEdit *editor() const { return m_editor; }
    const CodeModel &model() const { return m_model; }
    /// The shown text as the code file holds it: Latin-1, CR LF after every line.
    std::string shownBytes() const;
    /// The lines of the selected gadgets, as marked once they come into sight.
    const std::vector<LineSpan> &markedLines() const { return m_marked; }

signals:
    /// A click on a line of the gadget's constant or block.
    void gadgetClicked(std::int32_t lvid);
    /// The dock's close button: the owner hides it, as it does for its own
    /// command, so that both give the window back its width.
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyEdits(const std::vector<CodeLineEdit> &edits);
    void markSelectedGadgets();
    /// Marks what of markedLines() is in sight or near it: a selection of
    /// thousands of gadgets costs what the view shows, not what it holds.
    void showMarksInSight();
    /// The first and last line in sight.
    std::pair<int, int> linesInSight() const;
    void colourShownLines();

    const GdtList &m_list;
    const PoolSettings &m_settings;
    std::function<std::time_t()> m_clock;
    CodeModel m_model;
    QPlainTextEdit *m_editor = nullptr;
    PureBasicHighlighter *m_highlighter = nullptr;
    QTimer *m_minute = nullptr;
    bool m_behind = true;
    bool m_editing = false;
    QPoint m_pressedAt;
    std::vector<LineSpan> m_marked;
};

} // namespace tafelbau
