#include "core/codegen/compilermessages.h"

#include "core/codegen/codefile.h"
#include "core/codegen/codemodel.h"
#include "core/document/latin1.h"

namespace tafelbau {

namespace {

constexpr std::string_view kIncluded = "in included file '";

// The line number of "Line N", after an optional "Error:"; 0 when the
// line is none of that form.
int namedLine(std::string_view text)
{
    std::string_view s = trimBlanksTabs(text);
    if (s.substr(0, 6) == "Error:")
        s = trimBlanksTabs(s.substr(6));
    if (s.substr(0, 4) != "Line")
        return 0;
    s = trimBlanksTabs(s.substr(4));
    int line = 0;
    for (std::size_t i = 0; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (line > 100'000'000)
            return 0; // no source has that many lines; the rest is no number we trust
        line = line * 10 + (s[i] - '0');
    }
    return line;
}

} // namespace

std::vector<CompilerMessage> parseCompilerOutput(std::string_view output)
{
    std::vector<CompilerMessage> messages;
    std::string included; // named by the line before, for the "Line N" after it
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = findEitherByte(output, start, '\r', '\n');
        if (end == std::string_view::npos)
            end = output.size();
        const std::string_view text = output.substr(start, end - start);
        start = end == output.size() ? end : end + 1;
        if (end < output.size() && output[end] == '\r' && start < output.size() && output[start] == '\n')
            ++start;
        if (trimBlanksTabs(text).empty())
            continue;
        CompilerMessage m;
        m.text = std::string(text);
        if (const std::size_t at = text.find(kIncluded); at != std::string_view::npos) {
            const std::string_view rest = text.substr(at + kIncluded.size());
            included = std::string(rest.substr(0, rest.find('\'')));
            m.file = included;
            m.line = namedLine(text);
        } else if ((m.line = namedLine(text)) > 0) {
            m.file = std::move(included);
            included.clear();
        } else if (text.substr(0, 6) == "Error:") {
            included.clear();
        }
        messages.push_back(std::move(m));
    }
    return messages;
}

std::vector<std::optional<std::int32_t>> gadgetsOfMessages(const std::vector<CompilerMessage> &messages,
                                                           const std::filesystem::path &codeFile,
                                                           const std::filesystem::path &sourceFolder,
                                                           const GdtList &list, const PoolSettings &settings)
{
    std::vector<std::optional<std::int32_t>> gadgets(messages.size());
    CodeModel model;
    bool built = false;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const CompilerMessage &m = messages[i];
        if (m.line <= 0 || m.file.empty())
            continue;
        // A compiler may name the include by its bare file name whatever
        // folder the source includes it from.
        const std::filesystem::path named(m.file);
        const bool bare = !named.has_parent_path() && named == codeFile.filename();
        if (!bare && !sameFile(named.is_absolute() ? named : sourceFolder / named, codeFile))
            continue;
        if (!built) {
            model.update(list, settings, 0);
            built = true;
        }
        gadgets[i] = model.recordAtLine(m.line - 1);
    }
    return gadgets;
}

} // namespace tafelbau
