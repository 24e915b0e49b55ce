#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testutil {

/// A fresh folder below the system temp folder, removed with the object.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::filesystem::path &path() const { return m_path; }
    std::filesystem::path operator/(const std::string &name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path &path, const std::string &bytes);
std::string readFile(const std::filesystem::path &path);

/// Joins lines with CR LF after each, as every file of the program is written.
std::string crlf(std::initializer_list<std::string> lines);

struct RunResult
{
    int status = -1;
    std::string err;
    std::string out;
};

/// Runs the built program with `args`, an empty environment but for `env`
/// entries ("NAME=value"), and collects its standard error.
RunResult runProgram(const std::string &exe, const std::vector<std::string> &args,
                     const std::vector<std::string> &env = {});

/// Runs `body` in a child process as an unprivileged user: "nobody" when the
/// tests run as root, else the user itself. Returns `body`'s result, or -1
/// when no such process could be made.
int runUnprivileged(const std::function<int()> &body);

} // namespace testutil
