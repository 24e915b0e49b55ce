#include "testutil.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace testutil {

namespace {

// Saves keep hashes and copies in the user's state folder: the tests keep
// theirs in a folder of their own, never in the home of whoever runs them.
struct OwnStateFolder
{
    OwnStateFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tafelbau-state-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        ::setenv("XDG_STATE_HOME", path.c_str(), 1);
    }
    ~OwnStateFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};
const OwnStateFolder kOwnStateFolder;

} // namespace

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tafelbau-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void writeFile(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string crlf(std::initializer_list<std::string> lines)
{
    std::string out;
    for (const std::string &l : lines)
        out += l + "\r\n";
    return out;
}

RunResult runProgram(const std::string &exe, const std::vector<std::string> &args, const std::vector<std::string> &env)
{
    int errPipe[2];
    if (::pipe(errPipe) != 0)
        return {};
    // Standard output in a file: two pipes read one after the other could
    // fill up and stop the program.
    std::FILE *outFile = std::tmpfile();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errPipe[1], 2);
        if (outFile)
            ::dup2(::fileno(outFile), 1);
        ::close(errPipe[0]);
        ::close(errPipe[1]);
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(exe.c_str()));
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char *> envp;
        for (const std::string &e : env)
            envp.push_back(const_cast<char *>(e.c_str()));
        envp.push_back(nullptr);
        ::execve(exe.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(errPipe[1]);
    RunResult r;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(errPipe[0], buf, sizeof buf)) > 0)
        r.err.append(buf, static_cast<std::size_t>(n));
    ::close(errPipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (outFile) {
        std::rewind(outFile);
        while (const std::size_t got = std::fread(buf, 1, sizeof buf, outFile))
            r.out.append(buf, got);
        std::fclose(outFile);
    }
    return r;
}

int runUnprivileged(const std::function<int()> &body)
{
    constexpr int kCannot = 125;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0) {
            const gid_t nobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                ::_exit(kCannot);
        }
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == kCannot)
        return -1;
    return WEXITSTATUS(status);
}

} // namespace testutil
