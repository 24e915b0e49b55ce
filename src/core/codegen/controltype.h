#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tafelbau {

/// The control a record's code creates, told by the PureBasic function its
/// template calls, so that a user's own pool entries get their look
/// whatever they are named. Page, OpenList and CloseList make no control
/// of their own but shape the dialog: a panel's tab (or a list gadget's
/// item), a gadget list opened again, the end of a gadget list.
enum class ControlKind : std::uint8_t {
    None, ///< no known function: the record keeps its frame
    Window,
    Page,
    CloseList,
    OpenList,
    Button,
    ButtonImage,
    String,
    Text,
    CheckBox,
    Option,
    ComboBox,
    ListView,
    ListIcon,
    Tree,
    Editor,
    Frame,
    Container,
    Panel,
    ScrollArea,
    Splitter,
    ProgressBar,
    TrackBar,
    Spin,
    Date,
    HyperLink,
    Image,
    Canvas,
    ScrollBar,
    IPAddress,
    Calendar,
    ExplorerList,
    ExplorerTree,
    ExplorerCombo,
    Shortcut,
    Web,
    OpenGL,
    MDI,
};

/// Flags that change how a control looks. Several PureBasic constants of
/// different gadgets share one meaning (a border, right-aligned text).
namespace look {
enum Flag : std::uint32_t {
    Default = 1u << 0,
    Toggle = 1u << 1,
    AlignLeft = 1u << 2,
    AlignCenter = 1u << 3,
    AlignRight = 1u << 4,
    Password = 1u << 5,
    ReadOnly = 1u << 6,
    Border = 1u << 7,
    Raised = 1u << 8,
    Flat = 1u << 9,
    Borderless = 1u << 10,
    SystemMenu = 1u << 11,
    MinimizeGadget = 1u << 12,
    MaximizeGadget = 1u << 13,
    Vertical = 1u << 14,
    Ticks = 1u << 15,
    Editable = 1u << 16,
    Underline = 1u << 17,
    HoldsGadgets = 1u << 18, ///< a canvas that other gadgets go into
    CheckBoxes = 1u << 19,
    UpDown = 1u << 20,
};
} // namespace look

/// What a record's template makes: the control and its look flags.
struct ControlType
{
    ControlKind kind = ControlKind::None;
    std::uint32_t flags = 0; ///< look::Flag bits

    bool has(look::Flag f) const { return (flags & f) != 0; }
    bool operator==(const ControlType &) const = default;
};

/// The control of the first known function `code` calls, in any letter
/// case, outside comments and string literals; and the look flags named in
/// that call's arguments, or in `flags` where the call passes "[flags]".
/// Unknown names and constants are ignored. Linear in the input.
ControlType controlType(std::string_view code, std::string_view flags);

/// The same call with its arguments as the template writes them: the text
/// between its parentheses (to the end when the ")" is missing), empty when
/// no known function is called.
struct ControlCall
{
    ControlType type;
    std::string_view arguments; ///< a view into the `code` given

    /// The argument at `index` (0-based), split at the commas outside
    /// parentheses, strings and comments, blanks and tabs trimmed; empty
    /// when the call has fewer.
    std::string_view argument(std::size_t index) const;
};
/// Which look flags controlCall() reads: all of them, or only those of the
/// controls that hold gadgets (the flags that decide whether a canvas holds
/// gadgets and how large a client area is) -- what the structure needs.
enum class CallFlags : std::uint8_t { All, ForStructure };
ControlCall controlCall(std::string_view code, std::string_view flags, CallFlags wanted = CallFlags::All);

/// True for the controls that take AddGadgetItem() entries as items of
/// their own (a panel takes pages).
bool takesItems(ControlKind kind);

/// True for the controls that other gadgets are created in until
/// CloseGadgetList().
bool holdsGadgets(const ControlType &type);

struct CardRect
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    CardRect intersected(const CardRect &o) const;
    bool operator==(const CardRect &) const = default;
};

/// Sizes of the desktop's controls that decide where gadgets inside a
/// container appear; the widget layer measures them with its style.
struct ControlMetrics
{
    std::int32_t tabBarHeight = 22;
    std::int32_t frameWidth = 2; ///< a sunken, raised or tab-page border
    std::int32_t scrollBarExtent = 16;
};

/// The part of a container at `outer` that the gadgets created in it fill:
/// below a panel's tabs, inside borders, left of and above scroll bars.
CardRect clientRect(const ControlType &type, const CardRect &outer, const ControlMetrics &metrics);

} // namespace tafelbau
