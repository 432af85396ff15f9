#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// Runs a program with its standard output and error on pipes; the test reads them line by line.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    // The next line of standard output without its newline; nothing once the output has ended.
    std::optional<std::string> readOutputLine();
    std::string readAllErrors();
    void signal(int number) const;
    // The exit status, or -1 when the program did not exit normally.
    int wait();

private:
    pid_t m_pid = -1;
    int m_output = -1;
    int m_errors = -1;
    std::string m_pending;
};
