#include "core/codegen/purebasiccompiler.h"

#include "core/document/latin1.h"

#include <cstdlib>
#include <unistd.h>

namespace tafelbau {

namespace {

constexpr const char *kCompiler = "pbcompiler";

bool isExecutableFile(const std::filesystem::path &p)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

std::filesystem::path inHome(const std::string &home)
{
    return std::filesystem::path(home) / "compilers" / kCompiler;
}

} // namespace

CompilerSearch CompilerSearch::fromEnvironment()
{
    CompilerSearch s;
    if (const char *home = std::getenv("PUREBASIC_HOME"))
        s.pureBasicHome = home;
    if (const char *path = std::getenv("PATH"))
        s.path = path;
    return s;
}

std::optional<std::filesystem::path> findPureBasicCompiler(const CompilerSearch &search)
{
    if (search.pureBasicHome && !search.pureBasicHome->empty()) {
        const std::filesystem::path p = inHome(*search.pureBasicHome);
        if (isExecutableFile(p))
            return p;
    }
    // An empty entry of PATH is the current folder, as for the shell; a
    // compiler that turns up there depends on where the program started,
    // so such entries are passed over.
    std::size_t start = 0;
    while (start <= search.path.size()) {
        std::size_t end = search.path.find(':', start);
        if (end == std::string::npos)
            end = search.path.size();
        const std::string folder = search.path.substr(start, end - start);
        if (!folder.empty() && std::filesystem::path(folder).is_absolute()) {
            const std::filesystem::path p = std::filesystem::path(folder) / kCompiler;
            if (isExecutableFile(p))
                return p;
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::string compilerMissingMessage(const CompilerSearch &search)
{
    std::string home = search.pureBasicHome && !search.pureBasicHome->empty()
        ? inHome(*search.pureBasicHome).string()
        : std::string("$PUREBASIC_HOME/compilers/pbcompiler (PUREBASIC_HOME ist nicht gesetzt)");
    return latin1ToUtf8("PureBasic ist nicht zu finden. Tafelbau sucht den Compiler in ") + home
        + latin1ToUtf8(" und als pbcompiler in den Ordnern von PATH. Bitte PureBasic installieren oder "
                       "PUREBASIC_HOME auf seinen Ordner setzen.");
}

std::optional<std::filesystem::path> homeForCompiler(const CompilerSearch &search,
                                                     const std::filesystem::path &compiler)
{
    if (search.pureBasicHome && !search.pureBasicHome->empty())
        return std::nullopt;
    const std::filesystem::path folder = compiler.parent_path();
    if (folder.filename() != "compilers")
        return std::nullopt;
    return folder.parent_path();
}

std::vector<std::string> compilerArguments(const std::filesystem::path &source,
                                           const std::filesystem::path &executable)
{
    return {"-e", executable.string(), source.string()};
}

} // namespace tafelbau
