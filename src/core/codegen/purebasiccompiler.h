// Finding PureBasic's compiler and calling it, without a shell: the
// program and its arguments are passed as a list.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tafelbau {

/// Where to look: the environment's PUREBASIC_HOME (unset: nullopt) and PATH.
struct CompilerSearch
{
    std::optional<std::string> pureBasicHome;
    std::string path;

    /// The process's own environment.
    static CompilerSearch fromEnvironment();
};

/// $PUREBASIC_HOME/compilers/pbcompiler when PUREBASIC_HOME is set and it
/// is an executable file there, else the first executable pbcompiler in a
/// folder of PATH; nullopt when neither is found.
std::optional<std::filesystem::path> findPureBasicCompiler(const CompilerSearch &search);

/// The one message for a machine without PureBasic, naming where the
/// program looked (UTF-8).
std::string compilerMissingMessage(const CompilerSearch &search);

/// PUREBASIC_HOME for the compiler's process: PureBasic's compiler finds
/// its libraries through it. A compiler found on PATH in a folder named
/// "compilers" gets that folder's parent when the variable is not set;
/// nullopt leaves the environment as it is.
std::optional<std::filesystem::path> homeForCompiler(const CompilerSearch &search,
                                                     const std::filesystem::path &compiler);

/// The compiler's arguments that make `executable` from `source`.
std::vector<std::string> compilerArguments(const std::filesystem::path &source,
                                           const std::filesystem::path &executable);

} // namespace tafelbau
