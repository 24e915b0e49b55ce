// The VarIDs one syntax import gives its gadgets. A constant of the source
// gets its name at once; every other name waits until the whole source is
// read, so that the names the source gives win over made-up ones wherever
// they stand: constants first, then variables and gadget numbers, then the
// type names of gadgets the source gives no usable name. What refers to a
// waiting name (a parameter of another gadget, a note) is filled in then.
#pragma once

#include "core/codegen/syntaximport.h"
#include "core/codegen/uniqueids.h"
#include "core/document/gdtlist.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

class ImportNames
{
public:
    enum class Source : std::uint8_t {
        Constant, ///< #Name
        Declared, ///< a variable the gadget is assigned to, or its number
        MadeUp,   ///< the type's name, for a gadget without a usable name
    };

    /// A VarID, or the gadget whose VarID waits (an index into the waiting names).
    struct Ref
    {
        std::string id;
        int pending = -1;
    };

    explicit ImportNames(const GdtList &list) : m_ids(list) {}

    /// Names the gadget that is about to be record `record` of the list.
    /// A constant renamed only because another name differs from it in
    /// letter case gets `clash` set to the note that says so.
    Ref name(const std::string &candidate, Source source, std::size_t record, std::string_view type, std::size_t line,
             std::optional<std::string> &clash);

    /// How a name that differs only in letter case is spelled already, or null.
    const std::string *spelling(std::string_view t) const { return m_ids.spelling(t); }

    /// The waiting name `pending` goes into parameter `field` of record
    /// `record`, at `offset`.
    void fillParameter(std::size_t record, std::size_t field, std::size_t offset, int pending)
    {
        m_parameters.push_back({record, field, offset, pending});
    }

    /// Note `note` names the gadget with the waiting name; with `taken` it
    /// also says the gadget was taken as that name.
    void fillNote(std::size_t note, int pending, bool taken) { m_notes.push_back({note, pending, taken}); }

    /// Makes the waiting names and puts them where they go; a rename for
    /// letter case only gets a note.
    void finish(GdtList &list, std::vector<ImportNote> &notes);

private:
    struct Waiting
    {
        std::size_t record;
        std::string candidate;
        bool declared;
        std::size_t line;
        std::string_view type;
    };

    struct ParameterFill
    {
        std::size_t record;
        std::size_t field;
        std::size_t offset;
        int pending;
    };

    struct NoteFill
    {
        std::size_t note;
        int pending;
        bool taken;
    };

    std::string claim(const std::string &candidate, std::optional<std::string> &clash);

    UniqueIds m_ids;
    std::vector<Waiting> m_waiting;
    std::vector<ParameterFill> m_parameters;
    std::vector<NoteFill> m_notes;
};

/// "übernommen als " (Latin-1): how a note says what the gadget got.
inline constexpr std::string_view kTakenAs = "\xFC"
                                             "bernommen als ";

} // namespace tafelbau
