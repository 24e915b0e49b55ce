#include "core/codegen/purebasic.h"

#include "core/document/latin1.h"

namespace tafelbau {

namespace {

constexpr std::string_view kDialogFunctions[] = {
    "OpenWindow",          "AddGadgetItem",      "AddGadgetColumn",    "OpenGadgetList", "CloseGadgetList",
    "UseGadgetList",       "ButtonGadget",       "ButtonImageGadget",  "CalendarGadget", "CanvasGadget",
    "CheckBoxGadget",      "ComboBoxGadget",     "ContainerGadget",    "DateGadget",     "EditorGadget",
    "ExplorerComboGadget", "ExplorerListGadget", "ExplorerTreeGadget", "FrameGadget",    "Frame3DGadget",
    "HyperLinkGadget",     "IPAddressGadget",    "ImageGadget",        "ListIconGadget", "ListViewGadget",
    "MDIGadget",           "OpenGLGadget",       "OptionGadget",       "PanelGadget",    "ProgressBarGadget",
    "ScintillaGadget",     "ScrollAreaGadget",   "ScrollBarGadget",    "ShortcutGadget", "SpinGadget",
    "SplitterGadget",      "StringGadget",       "TextGadget",         "TrackBarGadget", "TreeGadget",
    "WebGadget",           "WebViewGadget",
};

struct Omitted
{
    std::string_view function;
    std::size_t index;
    OmittedArgument argument;
};

// Only arguments other than the flags: a left-out flags argument is always
// 0. The reference states the date's 0 ("the current date") and the empty
// mask; it names no step for the scroll area, which takes the smallest one
// that works. A reopened panel without a tab goes on with the tab it is at,
// which no number says.
// clang-format off
constexpr Omitted kOmitted[] = {
    {"DateGadget", 5, {"\"\"", true}},
    {"DateGadget", 6, {"0", true}},
    {"CalendarGadget", 5, {"0", true}},
    {"ScrollAreaGadget", 7, {"1", false}},
    {"OpenGadgetList", 1, {"", false, true}},
};
// clang-format on

struct CharacterConstant
{
    std::string_view name;
    std::string_view characters;
};

constexpr CharacterConstant kCharacterConstants[] = {
    {"#CR$", "\r"}, {"#LF$", "\n"}, {"#CRLF$", "\r\n"}, {"#TAB$", "\t"}, {"#DQUOTE$", "\""},
};

} // namespace

std::span<const std::string_view> dialogFunctions() noexcept
{
    return kDialogFunctions;
}

std::optional<OmittedArgument> omittedArgument(std::string_view function, std::size_t index) noexcept
{
    for (const Omitted &o : kOmitted)
        if (o.index == index && equalsFolded(o.function, function))
            return o.argument;
    return std::nullopt;
}

std::optional<std::string_view> characterConstant(std::string_view constant) noexcept
{
    for (const CharacterConstant &c : kCharacterConstants)
        if (equalsFolded(c.name, constant))
            return c.characters;
    return std::nullopt;
}

} // namespace tafelbau
