#include "core/codegen/mainprogram.h"

#include "core/codegen/callscanner.h"
#include "core/document/latin1.h"
#include "core/pool/programtemplates.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tafelbau {

namespace {

const FunctionTable &eventFunctions()
{
    static const FunctionTable table = [] {
        FunctionTable t;
        for (const char *name :
             {"buttongadget", "buttonimagegadget", "checkboxgadget", "optiongadget", "stringgadget", "editorgadget",
              "comboboxgadget", "listviewgadget", "listicongadget", "treegadget", "spingadget", "trackbargadget",
              "scrollbargadget", "dategadget", "calendargadget", "hyperlinkgadget", "ipaddressgadget",
              "shortcutgadget", "explorerlistgadget", "explorertreegadget", "explorercombogadget", "canvasgadget"})
            t.emplace(name, static_cast<int>(EventSource::Gadget));
        for (const char *name : {"menuitem", "toolbarstandardbutton", "toolbarimagebutton", "toolbarbutton"})
            t.emplace(name, static_cast<int>(EventSource::MenuItem));
        return t;
    }();
    return table;
}

// Replaces the placeholders of `names` (lower case, with brackets) in one
// pass: what goes in is not looked at again, so a VarID or a file name
// holding "[id]" comes out as it is.
std::string fill(std::string_view text, std::initializer_list<std::pair<std::string_view, std::string_view>> names)
{
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1)) {
        for (const auto &[name, value] : names) {
            if (equalsFolded(text.substr(at, name.size()), name)) {
                out.append(text, done, at - done);
                out.append(value);
                done = at + name.size();
                // Alone on its line, a placeholder stands for whole lines:
                // the template keeps it readable, the output gets no blank.
                const bool lineStart = at == 0 || text[at - 1] == '\n';
                if (lineStart && text.substr(done, 2) == "\r\n" && (value.empty() || value.back() == '\n'))
                    done += 2;
                at = done - 1;
                break;
            }
        }
    }
    out.append(text, done);
    return out;
}

} // namespace

EventSource eventSourceOf(const GadgetRecord &record)
{
    if (record.dontshow != 0)
        return EventSource::None;
    EventSource found = EventSource::None;
    bool decided = false;
    scanCalls(record.code, eventFunctions(), 1, [&](const std::vector<SourceCall> &calls, std::string_view cleaned) {
        for (const SourceCall &call : calls) {
            if (decided || call.args.empty())
                continue;
            const CallArgument &first = call.args.front();
            if (equalsFolded(trimBlanksTabs(cleaned.substr(first.begin, first.end - first.begin)), "#[id]")) {
                found = static_cast<EventSource>(call.function);
                decided = true;
            }
        }
    });
    return found;
}

std::string mainProgramBytes(const GdtList &list, const PoolSettings &settings, const MainProgramFiles &files)
{
    const ProgramTemplates templates = programTemplates(settings);
    std::string procedures, gadgetCases, menuCases;
    for (const GadgetRecord &r : list.records()) {
        const EventSource source = eventSourceOf(r);
        if (source == EventSource::None)
            continue;
        procedures += fill(templates.procedure, {{"[id]", r.varId}});
        (source == EventSource::Gadget ? gadgetCases : menuCases) += fill(templates.eventCase, {{"[id]", r.varId}});
    }
    return fill(templates.program, {{"[list]", files.listName},
                                    {"[include]", files.includePath},
                                    {"[procedures]", procedures},
                                    {"[gadgetcases]", gadgetCases},
                                    {"[menucases]", menuCases}});
}

std::filesystem::path defaultMainProgramPath(const std::filesystem::path &listPath)
{
    std::filesystem::path stem = listPath.stem();
    return listPath.parent_path() / (stem.native() + "_main.pb");
}

std::string pathFrom(const std::filesystem::path &from, const std::filesystem::path &target)
{
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::weakly_canonical(from, ec);
    const std::filesystem::path file = std::filesystem::weakly_canonical(target, ec);
    const std::filesystem::path relative = file.lexically_relative(base);
    return (relative.empty() ? file : relative).generic_string();
}

NewFile writeNewFile(const std::filesystem::path &path, std::string_view bytes)
{
    // O_EXCL: a file that turns up between a look and the write is not
    // written over either.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno == EEXIST ? NewFile::Exists : NewFile::Failed;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const bool closed = ::close(fd) == 0;
    if (written == bytes.size() && closed)
        return NewFile::Written;
    ::unlink(path.c_str());
    return NewFile::Failed;
}

std::string mainProgramExistsMessage(const std::filesystem::path &path)
{
    return latin1ToUtf8("Diese Datei gibt es schon; sie bleibt, wie sie ist: ") + path.string()
        + latin1ToUtf8("\r\nBitte einen anderen Namen w\xE4hlen.");
}

std::string mainProgramFailedMessage(const std::filesystem::path &path)
{
    return "Fehler: Kann Hauptprogramm nicht speichern: " + path.string();
}

} // namespace tafelbau
