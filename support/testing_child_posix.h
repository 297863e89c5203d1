// For POSIX tests: run a piece of a test in a forked child, for limits that
// must not touch the test runner (a file size standing in for a full disk) and
// permission bits, which stop nothing for root: the child becomes "nobody".
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace lumaro::testing {

struct ChildOutcome {
    enum Status { Ran, NoPrivilegeDrop, Failed } status = Failed;
    std::string output;  // what the body returned
};

inline ChildOutcome runInChild(const std::function<std::string()>& body, bool unprivileged) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(pipeEnds[0]);
        if (unprivileged && ::geteuid() == 0) {
            constexpr uid_t kNobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 ||
                ::geteuid() == 0)
                ::_exit(77);
        }
        // An exception must not unwind into the runner's copy of the tests. A
        // body returns a few bytes, far below the pipe's buffer: one write.
        try {
            const std::string out = body();
            const auto written = ::write(pipeEnds[1], out.data(), out.size());
            ::_exit(written == static_cast<ssize_t>(out.size()) ? 0 : 1);
        } catch (...) {
            ::_exit(1);
        }
    }
    ::close(pipeEnds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        outcome.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        outcome.status = ChildOutcome::Ran;
    else if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        outcome.status = ChildOutcome::NoPrivilegeDrop;
    return outcome;
}

}  // namespace lumaro::testing
