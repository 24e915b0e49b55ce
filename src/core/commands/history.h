#pragma once

#include "core/document/gdtlist.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tafelbau {

/// Undo and redo for the commands that change the gadget list. A command runs
/// between begin() and commit(); what it changed is kept as one step: the
/// fields that differ in the records it touched, the records it removed or
/// added, where records moved to, and the selection and shown card before and
/// after. A step's memory follows the records it touched, not the size of
/// the list; records leave and re-enter the list by their handles.
///
/// The records a command may change in place are the selected ones, the
/// current one and the last one (which commands take when nothing is
/// selected); records anywhere may be added, removed or moved.
class History
{
public:
    using Clock = std::chrono::steady_clock;

    /// Steps of the same kind on the same selection, each begun within this
    /// time of the one before, make one step (a run of key moves).
    static constexpr std::chrono::milliseconds kMergeWindow{1000};

    History();
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;
    History(History &&) noexcept;
    History &operator=(History &&) noexcept;

    /// At most `steps` steps or about `bytes` of memory; the oldest go first.
    void setLimits(std::size_t steps, std::size_t bytes);

    /// Before a command. `label` names it in the menu ("Verschieben");
    /// `mergeKind`, when not empty, lets the step merge with the one before
    /// of the same kind (see kMergeWindow).
    void begin(const GdtList &list, std::int32_t shownCard, std::string label, std::string mergeKind = {},
               Clock::time_point now = Clock::now());
    /// After the command: keeps what changed as a step. Nothing is kept when
    /// nothing changed but the selection. Returns whether a step was kept.
    bool commit(const GdtList &list, std::int32_t shownCard);
    /// Between begin() and commit(): the record at `index` may be changed in
    /// place as well, though it is neither selected nor current (a
    /// reference that follows a renamed VarID).
    void track(const GdtList &list, std::size_t index);
    /// Drops what begin() took, as for a command that was refused.
    void cancel();
    /// Puts back what begin() took -- the fields of the records a command
    /// may change in place, the selection and the cursor -- and drops it:
    /// a drag cancelled with Escape. For in-place changes only; false (and
    /// nothing done) when records were added, removed or moved meanwhile.
    bool rollback(GdtList &list);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_steps.size(); }
    /// The label of the step undo() or redo() would take back or do again.
    const std::string &undoLabel() const;
    const std::string &redoLabel() const;

    /// Puts the list back as it was before the last step; the card shown
    /// then. nullopt when there is nothing to undo.
    std::optional<std::int32_t> undo(GdtList &list);
    /// Does the last undone step again; the card shown after it.
    std::optional<std::int32_t> redo(GdtList &list);

    /// The lvids whose records the last commit, undo or redo added, removed
    /// or changed -- what views that cache by record must look at again.
    const std::vector<std::int32_t> &lastTouched() const { return m_touched; }

    /// A new or opened list: no steps, and this state is the saved one.
    void clear();
    /// The list was saved as it is now.
    void markSaved();
    /// No state of the history is the one on disk (a restored recovery).
    void markUnsaved();
    /// Whether the list is as it was last saved, loaded or made new.
    bool isAtSavedState() const { return m_saved && *m_saved == m_position; }

    std::size_t stepCount() const { return m_steps.size(); }
    std::size_t memoryUsed() const { return m_bytes; }

    struct Step;

private:
    void push(std::unique_ptr<Step> step);
    bool mergeIntoLast(Step &step);
    void dropOldest();
    void apply(GdtList &list, Step &step, bool forward);

    struct Pending;
    std::unique_ptr<Pending> m_pending;
    std::vector<std::unique_ptr<Step>> m_steps;
    std::size_t m_position = 0; ///< steps applied; the next undo takes back m_steps[m_position - 1]
    std::optional<std::size_t> m_saved = std::size_t{0};
    std::size_t m_bytes = 0;
    std::size_t m_maxSteps = 500;
    std::size_t m_maxBytes = std::size_t{256} << 20;
    std::vector<std::int32_t> m_touched;
    Clock::time_point m_lastBegin{};
    std::string m_lastKind;
};

} // namespace tafelbau
