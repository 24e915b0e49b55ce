#include "core/codegen/controltype.h"

#include "core/document/latin1.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tafelbau {

namespace {

struct Named
{
    std::string_view folded;
    std::uint32_t value;
};

template<std::size_t N>
constexpr std::array<Named, N> sortedByName(std::array<Named, N> names)
{
    std::sort(names.begin(), names.end(), [](const Named &a, const Named &b) { return a.folded < b.folded; });
    return names;
}

constexpr std::uint32_t kindValue(ControlKind k)
{
    return static_cast<std::uint32_t>(k);
}

constexpr auto kFunctions = sortedByName(std::to_array<Named>({
    {"addgadgetitem", kindValue(ControlKind::Page)},
    {"buttongadget", kindValue(ControlKind::Button)},
    {"buttonimagegadget", kindValue(ControlKind::ButtonImage)},
    {"calendargadget", kindValue(ControlKind::Calendar)},
    {"canvasgadget", kindValue(ControlKind::Canvas)},
    {"checkboxgadget", kindValue(ControlKind::CheckBox)},
    {"closegadgetlist", kindValue(ControlKind::CloseList)},
    {"comboboxgadget", kindValue(ControlKind::ComboBox)},
    {"containergadget", kindValue(ControlKind::Container)},
    {"dategadget", kindValue(ControlKind::Date)},
    {"editorgadget", kindValue(ControlKind::Editor)},
    {"explorercombogadget", kindValue(ControlKind::ExplorerCombo)},
    {"explorerlistgadget", kindValue(ControlKind::ExplorerList)},
    {"explorertreegadget", kindValue(ControlKind::ExplorerTree)},
    {"frame3dgadget", kindValue(ControlKind::Frame)}, // the older name of FrameGadget
    {"framegadget", kindValue(ControlKind::Frame)},
    {"hyperlinkgadget", kindValue(ControlKind::HyperLink)},
    {"imagegadget", kindValue(ControlKind::Image)},
    {"ipaddressgadget", kindValue(ControlKind::IPAddress)},
    {"listicongadget", kindValue(ControlKind::ListIcon)},
    {"listviewgadget", kindValue(ControlKind::ListView)},
    {"mdigadget", kindValue(ControlKind::MDI)},
    {"opengadgetlist", kindValue(ControlKind::OpenList)},
    {"openglgadget", kindValue(ControlKind::OpenGL)},
    {"openwindow", kindValue(ControlKind::Window)},
    {"optiongadget", kindValue(ControlKind::Option)},
    {"panelgadget", kindValue(ControlKind::Panel)},
    {"progressbargadget", kindValue(ControlKind::ProgressBar)},
    {"scintillagadget", kindValue(ControlKind::Editor)}, // shipped in the pool; looks like an editor
    {"scrollareagadget", kindValue(ControlKind::ScrollArea)},
    {"scrollbargadget", kindValue(ControlKind::ScrollBar)},
    {"shortcutgadget", kindValue(ControlKind::Shortcut)},
    {"spingadget", kindValue(ControlKind::Spin)},
    {"splittergadget", kindValue(ControlKind::Splitter)},
    {"stringgadget", kindValue(ControlKind::String)},
    {"textgadget", kindValue(ControlKind::Text)},
    {"trackbargadget", kindValue(ControlKind::TrackBar)},
    {"treegadget", kindValue(ControlKind::Tree)},
    {"webgadget", kindValue(ControlKind::Web)},
    {"webviewgadget", kindValue(ControlKind::Web)},
}));

constexpr auto kFlags = sortedByName(std::to_array<Named>({
    {"pb_button_default", look::Default},
    {"pb_button_left", look::AlignLeft},
    {"pb_button_right", look::AlignRight},
    {"pb_button_toggle", look::Toggle},
    {"pb_calendar_borderless", look::Borderless},
    {"pb_canvas_border", look::Border},
    {"pb_canvas_container", look::HoldsGadgets},
    {"pb_checkbox_center", look::AlignCenter},
    {"pb_checkbox_right", look::AlignRight},
    {"pb_combobox_editable", look::Editable},
    {"pb_container_borderless", look::Borderless},
    {"pb_container_double", look::Border},
    {"pb_container_flat", look::Flat},
    {"pb_container_raised", look::Raised},
    {"pb_container_single", look::Border},
    {"pb_date_updown", look::UpDown},
    {"pb_editor_readonly", look::ReadOnly},
    {"pb_explorer_borderless", look::Borderless},
    {"pb_frame_double", look::Border},
    {"pb_frame_flat", look::Flat},
    {"pb_frame_single", look::Border},
    {"pb_hyperlink_underline", look::Underline},
    {"pb_image_border", look::Border},
    {"pb_image_raised", look::Raised},
    {"pb_listicon_checkboxes", look::CheckBoxes},
    {"pb_mdi_borderless", look::Borderless},
    {"pb_progressbar_vertical", look::Vertical},
    {"pb_scrollarea_borderless", look::Borderless},
    {"pb_scrollarea_flat", look::Flat},
    {"pb_scrollarea_raised", look::Raised},
    {"pb_scrollarea_single", look::Border},
    {"pb_scrollbar_vertical", look::Vertical},
    {"pb_spin_readonly", look::ReadOnly},
    {"pb_splitter_vertical", look::Vertical},
    {"pb_string_borderless", look::Borderless},
    {"pb_string_password", look::Password},
    {"pb_string_readonly", look::ReadOnly},
    {"pb_text_border", look::Border},
    {"pb_text_center", look::AlignCenter},
    {"pb_text_right", look::AlignRight},
    {"pb_trackbar_ticks", look::Ticks},
    {"pb_trackbar_vertical", look::Vertical},
    {"pb_tree_checkboxes", look::CheckBoxes},
    {"pb_window_borderless", look::Borderless},
    {"pb_window_maximizegadget", look::MaximizeGadget},
    {"pb_window_minimizegadget", look::MinimizeGadget},
    {"pb_window_systemmenu", look::SystemMenu},
}));

constexpr std::size_t kLongestName = 32; // longer words match nothing in either table

bool isWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

template<std::size_t N>
const Named *lookUp(const std::array<Named, N> &table, std::string_view word)
{
    if (word.size() > kLongestName)
        return nullptr;
    char buffer[kLongestName];
    for (std::size_t i = 0; i < word.size(); ++i)
        buffer[i] = foldAscii(word[i]);
    const std::string_view folded(buffer, word.size());
    const auto it = std::lower_bound(table.begin(), table.end(), folded,
                                     [](const Named &n, std::string_view w) { return n.folded < w; });
    return it != table.end() && it->folded == folded ? &*it : nullptr;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Index past a string or character literal that starts at `i`, or past a
// comment. Literals do not run over the end of their line, as in PureBasic.
std::size_t skipLiteral(std::string_view s, std::size_t i)
{
    const char open = s[i];
    if (open == ';') {
        while (i < s.size() && !isLineEnd(s[i]))
            ++i;
        return i;
    }
    const bool escapes = open == '~';
    const char close = open == '\'' ? '\'' : '"';
    i += escapes ? 2 : 1;
    while (i < s.size() && !isLineEnd(s[i])) {
        if (escapes && s[i] == '\\') {
            i += 2;
            continue;
        }
        if (s[i++] == close)
            break;
    }
    return std::min(i, s.size());
}

bool startsLiteral(std::string_view s, std::size_t i)
{
    const char c = s[i];
    return c == ';' || c == '"' || c == '\'' || (c == '~' && i + 1 < s.size() && s[i + 1] == '"');
}

// The arguments of a call whose "(" is at `open`: up to the matching ")",
// or to the end when it is missing.
std::string_view argumentsFrom(std::string_view s, std::size_t open)
{
    int depth = 0;
    std::size_t i = open;
    while (i < s.size()) {
        if (startsLiteral(s, i)) {
            i = skipLiteral(s, i);
            continue;
        }
        if (s[i] == '(')
            ++depth;
        else if (s[i] == ')' && --depth == 0)
            return s.substr(open + 1, i - open - 1);
        ++i;
    }
    return s.substr(open + 1);
}

std::uint32_t flagsIn(std::string_view s)
{
    std::uint32_t flags = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (startsLiteral(s, i)) {
            i = skipLiteral(s, i) - 1;
            continue;
        }
        if (s[i] != '#')
            continue;
        std::size_t end = i + 1;
        while (end < s.size() && isWordByte(s[end]))
            ++end;
        if (const Named *n = lookUp(kFlags, s.substr(i + 1, end - i - 1)))
            flags |= n->value;
        i = end - 1;
    }
    return flags;
}

bool passesFlags(std::string_view arguments)
{
    constexpr std::string_view placeholder = "[flags]";
    for (std::size_t i = arguments.find('['); i != std::string_view::npos; i = arguments.find('[', i + 1))
        if (equalsFolded(arguments.substr(i, placeholder.size()), placeholder))
            return true;
    return false;
}

} // namespace

ControlCall controlCall(std::string_view code, std::string_view flags, CallFlags wanted)
{
    std::size_t i = 0;
    while (i < code.size()) {
        if (startsLiteral(code, i)) {
            i = skipLiteral(code, i);
            continue;
        }
        if (!isWordByte(code[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < code.size() && isWordByte(code[i]))
            ++i;
        // A constant, a structure field or an address is not a call.
        const char before = start > 0 ? code[start - 1] : ' ';
        if (before == '#' || before == '\\' || before == '.' || before == '@' || before == '*')
            continue;
        std::size_t open = i;
        while (open < code.size() && (code[open] == ' ' || code[open] == '\t'))
            ++open;
        if (open >= code.size() || code[open] != '(')
            continue;
        const Named *function = lookUp(kFunctions, code.substr(start, i - start));
        if (!function)
            continue;
        ControlCall call;
        call.type.kind = static_cast<ControlKind>(function->value);
        call.arguments = argumentsFrom(code, open);
        if (wanted == CallFlags::ForStructure && !holdsGadgets({call.type.kind, look::HoldsGadgets}))
            return call;
        call.type.flags = flagsIn(call.arguments);
        if (passesFlags(call.arguments))
            call.type.flags |= flagsIn(flags);
        return call;
    }
    return {};
}

ControlType controlType(std::string_view code, std::string_view flags)
{
    return controlCall(code, flags).type;
}

std::string_view ControlCall::argument(std::size_t index) const
{
    const std::string_view s = arguments;
    std::size_t from = 0;
    std::size_t count = 0;
    int depth = 0;
    for (std::size_t i = 0; i <= s.size();) {
        if (i < s.size() && startsLiteral(s, i)) {
            i = skipLiteral(s, i);
            continue;
        }
        const bool end = i == s.size();
        if (!end && (s[i] == '(' || s[i] == '['))
            ++depth;
        else if (!end && (s[i] == ')' || s[i] == ']'))
            --depth;
        if (end || (s[i] == ',' && depth == 0)) {
            if (count == index)
                return trimBlanksTabs(s.substr(from, i - from));
            ++count;
            from = i + 1;
        }
        ++i;
    }
    return {};
}

bool takesItems(ControlKind kind)
{
    switch (kind) {
    case ControlKind::ComboBox:
    case ControlKind::Editor:
    case ControlKind::ListIcon:
    case ControlKind::ListView:
    case ControlKind::MDI:
    case ControlKind::Panel:
    case ControlKind::Tree: return true;
    default: return false;
    }
}

bool holdsGadgets(const ControlType &type)
{
    switch (type.kind) {
    case ControlKind::Panel:
    case ControlKind::Container:
    case ControlKind::ScrollArea: return true;
    case ControlKind::Canvas: return type.has(look::HoldsGadgets);
    default: return false;
    }
}

CardRect CardRect::intersected(const CardRect &o) const
{
    const std::int64_t left = std::max(x, o.x);
    const std::int64_t top = std::max(y, o.y);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + width, std::int64_t{o.x} + o.width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + height, std::int64_t{o.y} + o.height);
    if (right <= left || bottom <= top)
        return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), 0, 0};
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right - left),
            static_cast<std::int32_t>(bottom - top)};
}

CardRect clientRect(const ControlType &type, const CardRect &outer, const ControlMetrics &m)
{
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    const std::int64_t frame = type.has(look::Flat) ? 1 : m.frameWidth;
    switch (type.kind) {
    case ControlKind::Panel:
        left = right = bottom = m.frameWidth;
        top = std::int64_t{m.tabBarHeight} + m.frameWidth;
        break;
    case ControlKind::Container:
    case ControlKind::Canvas:
        if (type.flags & (look::Border | look::Raised | look::Flat))
            left = top = right = bottom = frame;
        break;
    case ControlKind::ScrollArea:
        if (!type.has(look::Borderless))
            left = top = right = bottom = frame;
        right += m.scrollBarExtent;
        bottom += m.scrollBarExtent;
        break;
    default: break;
    }
    // Wide enough for any two int32 values: a client area never grows past
    // its container, nor below nothing.
    auto clamp = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    return {clamp(outer.x + left), clamp(outer.y + top), clamp(std::max<std::int64_t>(outer.width - left - right, 0)),
            clamp(std::max<std::int64_t>(outer.height - top - bottom, 0))};
}

} // namespace tafelbau
