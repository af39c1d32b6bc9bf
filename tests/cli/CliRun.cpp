#include "CliRun.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
std::string Drain(int fd) {
    std::string s;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, std::size_t(n));
    return s;
}
} // namespace

namespace {
CCliResult Run(const std::vector<std::string>& args, const std::string& input, std::size_t maxFileBytes);
} // namespace

CCliResult RunCli(const std::vector<std::string>& args, const std::string& input) { return Run(args, input, 0); }

CCliResult RunCliWithFileLimit(const std::vector<std::string>& args, std::size_t maxFileBytes) {
    return Run(args, {}, maxFileBytes);
}

namespace {
CCliResult Run(const std::vector<std::string>& args, const std::string& input, std::size_t maxFileBytes) {
    char outName[] = "/tmp/qbcli-out-XXXXXX";
    char errName[] = "/tmp/qbcli-err-XXXXXX";
    const int outFd = ::mkstemp(outName);
    const int errFd = ::mkstemp(errName);
    char inName[] = "/tmp/qbcli-in-XXXXXX";
    const int inFd = ::mkstemp(inName);
    (void)!::write(inFd, input.data(), input.size());
    ::lseek(inFd, 0, SEEK_SET);

    std::vector<std::string> all{QUILLBOX_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    CCliResult r;
    // fork and exec rather than posix_spawn: only the child may get the file size limit.
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(inFd, 0);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        if (maxFileBytes > 0) {
            const rlimit limit{maxFileBytes, maxFileBytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        }
        ::execve(argv[0], argv.data(), environ);
        ::_exit(127);
    }
    if (pid > 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    ::lseek(outFd, 0, SEEK_SET);
    ::lseek(errFd, 0, SEEK_SET);
    r.out = Drain(outFd);
    r.err = Drain(errFd);
    for (int fd : {inFd, outFd, errFd}) ::close(fd);
    for (const char* n : {outName, errName, inName}) ::unlink(n);
    return r;
}
} // namespace
