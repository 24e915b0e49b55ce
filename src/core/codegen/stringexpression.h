// Captions as PureBasic programs write them: string literals and ~"..."
// with escape sequences, joined by "+" to character constants (#LF$, #TAB$,
// ...) and Chr(n). A gadget holds a caption as the text between its
// template's quotes, so every character that a literal cannot hold stands
// there as a piece joined to it: "+#TAB$+", and a line break as the pool's
// line-break code. Read back, the same pieces give the same text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tafelbau {

struct StringExpression
{
    std::string text;     ///< between a template's quotes it means what the source meant
    bool escapes = false; ///< a ~"..." of it had escape sequences
};

/// Reads `expression` (blanks around the parts allowed); nothing when a part
/// is neither a string, a character constant nor Chr() of a number up to
/// 255. `lineBreak` is the pool's line-break code; when it is empty, the
/// default "+#CRLF$+" stands for a line break. The text is in the
/// expression's encoding: with `utf8`, Chr() of a Latin-1 letter gives its
/// UTF-8 form.
std::optional<StringExpression> readStringExpression(std::string_view expression, std::string_view lineBreak,
                                                     bool utf8 = false);

} // namespace tafelbau
