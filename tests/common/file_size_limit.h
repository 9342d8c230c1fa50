#pragma once
// A write on a full disk: `write` runs in a forked child whose files cannot grow
// past `limit` bytes, so every write beyond it fails with EFBIG.
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// 1: `write` succeeded, 0: it failed, -1: the child did not end normally.
inline int withFileSizeLimit(rlim_t limit, const std::function<bool()>& write)
{
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the process
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(write() ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
