#include "CliRun.h"

#include <fcntl.h>
#include <spawn.h>
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

CCliResult RunCli(const std::vector<std::string>& args, const std::string& input) {
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

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inFd, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    pid_t pid = 0;
    CCliResult r;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::lseek(outFd, 0, SEEK_SET);
    ::lseek(errFd, 0, SEEK_SET);
    r.out = Drain(outFd);
    r.err = Drain(errFd);
    for (int fd : {inFd, outFd, errFd}) ::close(fd);
    for (const char* n : {outName, errName, inName}) ::unlink(n);
    return r;
}
