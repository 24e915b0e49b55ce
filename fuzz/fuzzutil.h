#pragma once

// Shared by the fuzz targets: a scratch file for the readers that take a
// path, and a check that makes libFuzzer keep the input when a property of
// the code under test does not hold.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzzutil {

/// A folder for this process's scratch files, in memory where the system
/// offers it: the readers are run many thousand times a second.
inline const std::filesystem::path &scratchDir()
{
    static const std::filesystem::path dir = [] {
        const char *shm = "/dev/shm";
        std::string pattern =
            (std::filesystem::exists(shm) ? std::filesystem::path(shm) : std::filesystem::temp_directory_path())
                .append("tafelbau-fuzz-XXXXXX")
                .string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(scratchDir()); });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

inline std::filesystem::path writeScratch(const std::string &name, std::string_view bytes)
{
    const std::filesystem::path path = scratchDir() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "property broken at %s:%d: %s\n", file, line, what);
    std::abort();
}

} // namespace fuzzutil

#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            fuzzutil::fail(#cond, __FILE__, __LINE__);                                                                 \
    } while (0)
