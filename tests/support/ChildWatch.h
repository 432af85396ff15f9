#pragma once

#include <chrono>
#include <sys/types.h>

// Waits for a child process to exit and gives its exit status; -1 when it did not exit normally.
// A child still running after `limit` is killed and counts as not exiting normally: a hang fails
// the test instead of holding the suite. `peakMemoryKilobytes`, when given, receives the child's
// largest resident set.
int waitForChild(pid_t pid, std::chrono::milliseconds limit = std::chrono::minutes(10),
                 long* peakMemoryKilobytes = nullptr);
