#include "tests/support/ChildWatch.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>

int waitForChild(pid_t pid, std::chrono::milliseconds limit, long* peakMemoryKilobytes) {
    const auto giveUpAt = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        rusage usage{};
        pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) {
            if (peakMemoryKilobytes)
                *peakMemoryKilobytes = usage.ru_maxrss;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0)
            return -1;
        if (std::chrono::steady_clock::now() >= giveUpAt)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}
