// Finds the calls of given functions in PureBasic source and splits their
// arguments, knowing the language as far as that needs: statements end at a
// line break or ":" outside parentheses, ";" starts a comment, "..." and
// ~"..." (with backslash escapes) are strings, and a call goes on over lines
// while its parentheses are open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tafelbau {

/// What an argument's first and last token are.
enum class TokenKind : std::uint8_t {
    None,
    Identifier,
    Constant,      ///< #Name
    Number,
    String,        ///< "..." closed on its line
    OpenString,    ///< " without its closing quote before the line ended
    EscapedString, ///< ~"..." closed on its line
    Group,         ///< "(...)", a nested call's or a plain one
    Other,
};

/// One argument of a call, as positions in the cleaned text the scanner
/// hands over: the source without its comments, each line break inside a
/// call and the indentation after it turned into one blank.
struct CallArgument
{
    std::size_t begin = 0; ///< the whole argument, blanks around it included
    std::size_t end = 0;
    std::size_t line = 0; ///< line of its first token (1-based)
    std::size_t tokens = 0; ///< tokens at the argument's own level; a group counts once
    TokenKind first = TokenKind::None;
    TokenKind last = TokenKind::None;
    std::size_t firstBegin = 0;
    std::size_t firstEnd = 0;
    std::size_t lastBegin = 0;
    std::size_t lastEnd = 0;
};

struct SourceCall
{
    enum class End : std::uint8_t {
        Closed,
        LineEnd, ///< never closed: the arguments up to the end of its first line
        FileEnd, ///< never closed and no line break after it
    };

    int function = -1;    ///< what the function table gave for its name
    std::size_t line = 0; ///< line of the function name
    /// Last identifier of the variable the call's result is assigned to
    /// (a view of the source, without "$"); empty when it is not assigned.
    std::string_view assignedTo;
    std::vector<CallArgument> args; ///< empty for "()"
    End end = End::Closed;
    /// The call this one stands in an argument of (at any depth of
    /// parentheses), as an index into the same batch; -1 for none.
    int parent = -1;
    std::size_t parentArgument = 0;
    /// From its name to after its ")" in the cleaned text; meaningful only
    /// for a call with a parent.
    std::size_t cleanBegin = 0;
    std::size_t cleanEnd = 0;
};

/// Function names with A-Z folded to a-z, and the number to report their
/// calls with.
using FunctionTable = std::unordered_map<std::string, int>;

/// Receives calls in the order they start, with the cleaned text their
/// argument positions refer to. Called whenever no call is open any more, so
/// a nested call comes right after the one it is an argument of; both are
/// valid only during the call.
using CallSink = std::function<void(const std::vector<SourceCall> &calls, std::string_view cleaned)>;

/// One pass over `source`; memory beyond the source is bounded by the
/// longest statement with calls in it. A call keeps at most `maxArguments`
/// arguments (the rest are skipped, so a line of commas costs no memory).
/// Calls that follow "::", "\", "@" or a Procedure, Declare, Prototype or
/// Macro keyword are definitions or references, not calls, and are passed
/// over.
void scanCalls(std::string_view source, const FunctionTable &functions, std::size_t maxArguments,
               const CallSink &sink);

} // namespace tafelbau
