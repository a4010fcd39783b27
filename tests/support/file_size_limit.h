#pragma once

// A full disk, made up: the work runs in a child process whose files may grow to `limit`
// bytes only, and a write past it fails instead of killing the process.
#include <QtGlobal>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_bytes {

// Returns what `work` returned in the child.
inline bool withFileSizeLimit(rlim_t limit, const std::function<bool()> &work) {
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit size{limit, limit};
        _exit(setrlimit(RLIMIT_FSIZE, &size) == 0 ? (work() ? 0 : 1) : 2);
    }
    int status = -1;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        qFatal("the child with a file size limit failed");
    return WEXITSTATUS(status) == 0;
}

} // namespace test_bytes
