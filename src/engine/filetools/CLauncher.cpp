#include "filetools/CLauncher.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<char*> ArgPointers(std::vector<std::string>& args) {
    std::vector<char*> out;
    for (std::string& a : args) out.push_back(a.data());
    out.push_back(nullptr);
    return out;
}

} // namespace

std::string CSystemLauncher::FindProgram(std::string_view name) {
    if (name.empty()) return {};
    const std::string n(name);
    if (n.find('/') != std::string::npos) return IsExecutableFile(n) ? n : std::string();
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = dirs.find(':');
        std::string candidate(dirs.substr(0, colon));
        if (candidate.empty()) candidate.push_back('.');
        candidate.push_back('/');
        candidate.append(n);
        if (IsExecutableFile(candidate)) return candidate;
        if (colon == std::string_view::npos) break;
        dirs.remove_prefix(colon + 1);
    }
    return {};
}

bool CSystemLauncher::Start(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    std::vector<std::string> args = argv;
    args[0] = FindProgram(argv[0]);
    if (args[0].empty()) return false;
    std::vector<char*> ptrs = ArgPointers(args);
    std::string program = args[0];

    // The program runs as a grandchild, so it is never left a zombie of ours; a close-on-exec
    // pipe tells whether the exec itself worked. Only async-signal-safe calls after fork().
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execve(program.c_str(), ptrs.data(), environ);
            const int err = errno;
            (void)!::write(pipeFds[1], &err, sizeof err);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(pipeFds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int execErr = 0;
    ssize_t n;
    while ((n = ::read(pipeFds[0], &execErr, sizeof execErr)) < 0 && errno == EINTR) {
    }
    ::close(pipeFds[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

int CSystemLauncher::Run(const std::vector<std::string>& argv) {
    if (argv.empty()) return -1;
    std::vector<std::string> args = argv;
    args[0] = FindProgram(argv[0]);
    if (args[0].empty()) return -1;
    std::vector<char*> ptrs = ArgPointers(args);
    pid_t pid = 0;
    if (::posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, ptrs.data(), environ) != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
