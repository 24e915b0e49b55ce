#include "core/codegen/structurecheck.h"

#include "core/document/latin1.h"

#include <unordered_set>

namespace tafelbau {

namespace {

// Where a parameter's value holds a name: its blanks and one "#" left out.
struct NameSpan
{
    std::size_t at = 0;
    std::size_t size = 0;
};

NameSpan nameIn(std::string_view value)
{
    const std::string_view trimmed = trimBlanksTabs(value);
    std::size_t at = static_cast<std::size_t>(trimmed.data() - value.data());
    std::string_view name = trimmed;
    if (!name.empty() && name.front() == '#') {
        name = trimBlanksTabs(name.substr(1));
        at = static_cast<std::size_t>(name.data() - value.data());
    }
    return {at, name.size()};
}

// The parameter a placeholder stands for: 0..9, -1 for the caption, -2 for
// anything else (the record's own [id] included).
int parameterOf(std::string_view placeholder)
{
    if (equalsFolded(placeholder, "[text]"))
        return -1;
    if (placeholder.size() == 4 && foldAscii(placeholder[1]) == 'p' && placeholder[2] >= '0' && placeholder[2] <= '9')
        return placeholder[2] - '0';
    return -2;
}

std::string &valueOf(GadgetRecord &r, int parameter)
{
    return parameter < 0 ? r.text : r.p[static_cast<std::size_t>(parameter)];
}

const std::string &valueOf(const GadgetRecord &r, int parameter)
{
    return parameter < 0 ? r.text : r.p[static_cast<std::size_t>(parameter)];
}

// The parameters of `r` that hold a reference, in the order found.
std::vector<int> referringParameters(const GadgetRecord &r)
{
    std::vector<int> out;
    auto add = [&](int parameter) {
        for (int p : out)
            if (p == parameter)
                return;
        out.push_back(parameter);
    };
    for (std::size_t at = r.code.find("#["); at != std::string::npos; at = r.code.find("#[", at + 2)) {
        const std::size_t close = r.code.find(']', at);
        if (close == std::string::npos || close - at > 7)
            continue;
        if (const int parameter = parameterOf(std::string_view(r.code).substr(at + 1, close - at)); parameter >= -1)
            add(parameter);
    }
    for (std::size_t i = 0; i < r.pname.size(); ++i) {
        const std::string_view value = trimBlanksTabs(r.p[i]);
        if (r.pname[i].find("mit #") != std::string::npos && value.size() > 1 && value.front() == '#'
            && value.substr(1, 3) != "PB_")
            add(static_cast<int>(i));
    }
    return out;
}

std::string gadgetName(const GadgetRecord &r, int index)
{
    if (!r.varId.empty())
        return latin1ToUtf8(r.varId);
    return latin1ToUtf8(r.name) + " in Zeile " + std::to_string(index + 1);
}

std::string number(std::int64_t n)
{
    return std::to_string(n);
}

} // namespace

std::vector<std::pair<int, std::string>> referencedVarIds(const GadgetRecord &record)
{
    std::vector<std::pair<int, std::string>> out;
    for (int parameter : referringParameters(record)) {
        const std::string &value = valueOf(record, parameter);
        const NameSpan span = nameIn(value);
        out.emplace_back(parameter, value.substr(span.at, span.size));
    }
    return out;
}

std::vector<int> recordsReferringTo(const GdtList &list, std::string_view varId)
{
    std::vector<int> out;
    const auto &records = list.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        // Most templates name no other gadget: the cheap test first.
        const GadgetRecord &r = records[i];
        bool names = false;
        for (const std::string &p : r.p)
            names = names || p.find(varId) != std::string::npos;
        if (!names && r.text.find(varId) == std::string::npos)
            continue;
        for (const auto &[parameter, name] : referencedVarIds(r)) {
            if (name == varId) {
                out.push_back(static_cast<int>(i));
                break;
            }
        }
    }
    return out;
}

bool renameReferences(GadgetRecord &record, std::string_view from, std::string_view to)
{
    const std::string target(to);
    return renameReferences(record,
                            [&](std::string_view name) { return name == from ? &target : nullptr; });
}

bool renameReferences(GadgetRecord &record, const std::function<const std::string *(std::string_view)> &renamed)
{
    bool changed = false;
    for (int parameter : referringParameters(record)) {
        std::string &value = valueOf(record, parameter);
        const NameSpan span = nameIn(value);
        if (const std::string *to = renamed(std::string_view(value).substr(span.at, span.size))) {
            value.replace(span.at, span.size, *to);
            changed = true;
        }
    }
    return changed;
}

std::vector<StructureProblem> checkStructure(const GdtList &list)
{
    return checkStructure(list, DialogStructure(list));
}

std::vector<StructureProblem> checkStructure(const GdtList &list, const DialogStructure &structure,
                                             const ControlMetrics &metrics)
{
    using K = StructureProblem::Kind;
    std::vector<StructureProblem> out;
    const auto &records = list.records();
    std::unordered_set<std::string_view> declared;
    declared.reserve(records.size());
    for (const GadgetRecord &r : records)
        if (r.dontshow == 0)
            declared.insert(r.varId);

    for (std::size_t i = 0; i < records.size(); ++i) {
        const GadgetRecord &r = records[i];
        const StructureNode &node = structure[i];
        const int index = static_cast<int>(i);
        auto report = [&](K kind, std::string what) { out.push_back({kind, index, gadgetName(r, index) + ": " + what}); };

        for (const auto &[parameter, name] : referencedVarIds(r)) {
            if (name.empty())
                report(K::UnknownReference, "verweist mit # auf keinen Namen, der Parameter ist leer");
            else if (!declared.count(name))
                report(K::UnknownReference, "verweist auf #" + latin1ToUtf8(name)
                                                + ", das kein Gadget deklariert; der Code lässt sich so nicht übersetzen");
        }

        switch (node.role) {
        case StructureRole::CloseList:
            if (node.owner < 0)
                report(K::NothingToClose, "CloseGadgetList(), aber keine Gadgetliste eines Containers ist offen; "
                                          "der Code schließt hier nichts");
            break;
        case StructureRole::Item:
            if (node.owner >= 0 && !takesItems(structure[static_cast<std::size_t>(node.owner)].type.kind)) {
                const GadgetRecord &owner = records[static_cast<std::size_t>(node.owner)];
                report(K::ItemWithoutTaker, "fügt " + gadgetName(owner, node.owner)
                                                + " einen Eintrag hinzu, aber dieses Gadget nimmt keine Einträge");
            }
            break;
        default: break;
        }
        if (node.leftOpen)
            report(K::LeftOpen, "seine Gadgetliste wird nicht mit CloseGadgetList() geschlossen; "
                                "der Code erzeugt die folgenden Gadgets darin");

        // Where the record is drawn and where the code puts it.
        const bool placed = node.role == StructureRole::Gadget || node.role == StructureRole::Container
            || node.role == StructureRole::Panel;
        if (!placed || r.dontshow != 0 || node.parent < 0)
            continue;
        const StructureNode &parent = structure[static_cast<std::size_t>(node.parent)];
        const GadgetRecord &p = records[static_cast<std::size_t>(node.parent)];
        if (parent.innerCard && *parent.innerCard != r.card)
            report(K::WrongCard, "liegt auf Karte " + number(r.card) + ", der Code erzeugt es aber in "
                                     + gadgetName(p, node.parent) + " (Karte " + number(*parent.innerCard) + ")");
        const CardRect area = structure.clientArea(list, node.parent, metrics);
        if (area.isEmpty())
            continue;
        const std::int64_t right = std::int64_t{r.x} + r.xd;
        const std::int64_t bottom = std::int64_t{r.y} + r.yd;
        if (r.x < 0 || r.y < 0 || right > area.width || bottom > area.height)
            report(K::OutsideParent, "reicht mit " + number(r.x) + "," + number(r.y) + " " + number(r.xd) + "x"
                                         + number(r.yd) + " über " + gadgetName(p, node.parent) + " ("
                                         + number(area.width) + "x" + number(area.height)
                                         + ") hinaus; der Code schneidet es dort ab");
    }
    return out;
}

} // namespace tafelbau
