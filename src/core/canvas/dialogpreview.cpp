#include "core/canvas/dialogpreview.h"

#include "core/document/latin1.h"

#include <algorithm>

namespace tafelbau {

namespace {

// The number a call's argument stands for, once its placeholders are
// filled; `fallback` for a missing argument or one that is no number.
std::int32_t numberArgument(const ControlCall &call, std::size_t index, const GadgetRecord &r, std::int32_t fallback)
{
    const std::string_view argument = call.argument(index);
    if (argument.empty())
        return fallback;
    const std::string text = namedVarId(argument, r);
    const std::string_view t = trimBlanksTabs(text);
    if (t.empty())
        return fallback;
    const char c = t[0] == '-' || t[0] == '+' ? (t.size() > 1 ? t[1] : ' ') : t[0];
    if (!((c >= '0' && c <= '9') || c == '$' || c == '%'))
        return fallback;
    return parseWholeNumber(t);
}

bool hasNumbers(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Spin:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
    case ControlKind::ScrollBar:
    case ControlKind::ScrollArea: return true;
    default: return false;
    }
}

} // namespace

PreviewPlan previewPlan(const GdtList &list, const DialogStructure &structure, int current)
{
    PreviewPlan plan;
    const auto &records = list.records();
    const int n = static_cast<int>(std::min(records.size(), structure.size()));
    // The window each record is created in; the parent comes first in the list.
    std::vector<int> windowOf(static_cast<std::size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        const StructureNode &node = structure[static_cast<std::size_t>(i)];
        windowOf[static_cast<std::size_t>(i)] = node.role == StructureRole::Window ? i
            : node.parent >= 0 && node.parent < i    ? windowOf[static_cast<std::size_t>(node.parent)]
                                                     : -1;
    }
    int window = current >= 0 && current < n ? windowOf[static_cast<std::size_t>(current)] : -1;
    if (window < 0) {
        const auto first = std::find_if(structure.nodes().begin(), structure.nodes().begin() + n,
                                        [](const StructureNode &node) { return node.role == StructureRole::Window; });
        if (first == structure.nodes().begin() + n)
            return plan;
        window = static_cast<int>(first - structure.nodes().begin());
    }
    const GadgetRecord &w = records[static_cast<std::size_t>(window)];
    plan.window = window;
    plan.caption = w.text;
    plan.windowType = controlCall(w.code, w.flags).type;
    plan.width = w.xd;
    plan.height = w.yd;

    // Record index -> index in the plan, for the gadgets that others go in.
    std::vector<int> shown(static_cast<std::size_t>(n), -1);
    for (int i = window + 1; i < n && structure[static_cast<std::size_t>(i)].role != StructureRole::Window; ++i) {
        const StructureNode &node = structure[static_cast<std::size_t>(i)];
        const GadgetRecord &r = records[static_cast<std::size_t>(i)];
        if (node.role == StructureRole::Item) {
            if (node.owner >= 0 && shown[static_cast<std::size_t>(node.owner)] >= 0)
                plan.gadgets[static_cast<std::size_t>(shown[static_cast<std::size_t>(node.owner)])].items.push_back(
                    r.text);
            continue;
        }
        if (r.dontshow != 0 || node.role == StructureRole::CloseList || node.role == StructureRole::OpenList)
            continue;
        int parent = -1;
        if (node.parent != window) {
            // Created in a gadget that is not shown (or in a panel before
            // its first page, where the code fails): not shown either.
            parent = node.parent >= 0 ? shown[static_cast<std::size_t>(node.parent)] : -1;
            const bool inPanel = parent >= 0
                && plan.gadgets[static_cast<std::size_t>(parent)].type.kind == ControlKind::Panel
                && node.role != StructureRole::Page;
            if (parent < 0 || inPanel)
                continue;
        }
        const ControlCall call = controlCall(r.code, r.flags);
        PreviewGadget g;
        g.record = i;
        g.varId = r.varId;
        g.parent = parent;
        g.type = call.type;
        g.rect = {r.x, r.y, r.xd, r.yd};
        g.text = r.text;
        g.frameColour = r.color;
        if (hasNumbers(call.type.kind)) {
            const bool area = call.type.kind == ControlKind::ScrollArea;
            g.numbers = {numberArgument(call, 5, r, area ? r.xd : 0), numberArgument(call, 6, r, area ? r.yd : 100),
                         numberArgument(call, 7, r, 10)};
        }
        if (call.type.kind == ControlKind::String) {
            constexpr std::string_view kNumeric = "#pb_string_numeric";
            g.numeric = mentionsFolded(call.arguments, kNumeric)
                || (mentionsFolded(call.arguments, "[flags]") && mentionsFolded(r.flags, kNumeric));
        }
        shown[static_cast<std::size_t>(i)] = static_cast<int>(plan.gadgets.size());
        plan.gadgets.push_back(std::move(g));
    }
    return plan;
}

} // namespace tafelbau
