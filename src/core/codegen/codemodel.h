#pragma once

#include "core/document/gdtlist.h"
#include "core/pool/poolentry.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tafelbau {

/// One change to a text of lines: from line `first` on, `removed` lines give
/// way to `lines` (Latin-1, without their line ends).
struct CodeLineEdit
{
    int first = 0;
    int removed = 0;
    std::vector<std::string> lines;

    bool operator==(const CodeLineEdit &) const = default;
};

/// The lines [first, first + count) of a text.
struct LineSpan
{
    int first = 0;
    int count = 0;

    bool operator==(const LineSpan &) const = default;
};

/// The code file a save would write, held as lines and kept up to date piece
/// by piece: the constant line and the expanded block of every record are
/// cached by lvid and made again only when a field they are made from
/// changes. Lines end at CR LF only; a lone CR or LF stays inside its line.
///
/// An update compares every record with a copy of what its pieces were made
/// from, which is linear in the list's bytes but does no expansion; records
/// that kept their relative order stay where they are in the text, so a move,
/// an insert or a delete gives edits the size of what moved.
class CodeModel
{
public:
    /// Brings the text in step with `list`, the pool `settings` and the date
    /// of `when`. Returns the edits that turn the previous text into the new
    /// one, top to bottom; the line numbers of each edit count in the text
    /// the edits before it have left. The first update after construction or
    /// reset() is one edit that inserts every line.
    std::vector<CodeLineEdit> update(const GdtList &list, const PoolSettings &settings, std::time_t when);

    /// The same for the header alone (the clock moved on, the comment marker
    /// changed); nothing before the first update.
    std::vector<CodeLineEdit> updateHead(const PoolSettings &settings, std::time_t when);

    /// Forgets the text; the next update builds it anew.
    void reset();

    /// Exactly codeFileBytes() of the last update's arguments.
    std::string text() const;
    int lineCount() const;

    /// The lines of the record's expanded block; count 0 for an unknown lvid.
    LineSpan blockLines(std::int32_t lvid) const;
    /// The record's constant line(s); count 0 when it has none.
    LineSpan enumerationLines(std::int32_t lvid) const;
    /// The constant and block lines of every selected record of `list`, top
    /// to bottom, touching spans joined into one. `list` is the one of the
    /// last update. Costs a look-up per selected record.
    std::vector<LineSpan> selectedLines(const GdtList &list) const;
    /// The record whose block or constant holds `line`; nothing for the
    /// header and the lines around the enumeration.
    std::optional<std::int32_t> recordAtLine(int line) const;

private:
    /// The record fields the two pieces are made from.
    struct Inputs
    {
        std::string varId;
        std::string code;
        std::string text;
        std::string flags;
        std::array<std::string, 10> p;
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t xd = 0;
        std::int32_t yd = 0;
        std::int32_t tab = 0;
        std::int8_t dontshow = 0;

        bool matches(const GadgetRecord &r) const;
        void assign(const GadgetRecord &r);
    };
    struct Entry
    {
        std::int32_t lvid = 0;
        Inputs inputs;
        std::string enumeration; ///< "\t#" + VarID + CR LF, or empty
        std::string block;       ///< expanded template + CR LF
        int enumerationLines = 0;
        int blockLines = 0;
    };
    /// The pieces an anchored record had before it was made again.
    struct Replaced
    {
        std::size_t index = 0;
        std::string enumeration;
        std::string block;
    };

    static void makePieces(Entry &entry, const GadgetRecord &record);
    void build(const GdtList &list, const PoolSettings &settings, std::time_t when);
    void recount();
    int enumerationStart() const { return m_headLines; }
    int blocksStart() const { return m_headLines + m_enumerationStart.back() + 3; }

    bool m_built = false;
    std::string m_head;
    int m_headLines = 0;
    std::vector<std::unique_ptr<Entry>> m_entries; ///< reordering moves handles, not entries
    // Line of each record's piece within its section, and the section's
    // total at the end; found by binary search for a clicked line.
    std::vector<int> m_enumerationStart{0};
    std::vector<int> m_blockStart{0};
    std::unordered_map<std::int32_t, int> m_index; ///< lvid -> first entry with it
};

} // namespace tafelbau
