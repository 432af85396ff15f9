#include "tests/hosts/devserver/ChildProcess.h"

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int output[2];
    int errors[2];
    if (::pipe(output) != 0) {
        return;
    }
    if (::pipe(errors) != 0) {
        ::close(output[0]);
        ::close(output[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, errors[0]);
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(errors[1]);
    m_output = output[0];
    m_errors = errors[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        wait();
    }
    if (m_output >= 0) {
        ::close(m_output);
    }
    if (m_errors >= 0) {
        ::close(m_errors);
    }
}

std::optional<std::string> ChildProcess::readOutputLine() {
    while (true) {
        if (auto newline = m_pending.find('\n'); newline != std::string::npos) {
            auto line = m_pending.substr(0, newline);
            m_pending.erase(0, newline + 1);
            return line;
        }
        char buffer[256];
        auto count = ::read(m_output, buffer, sizeof buffer);
        if (count <= 0) {
            return std::nullopt;
        }
        m_pending.append(buffer, static_cast<std::size_t>(count));
    }
}

std::string ChildProcess::readAllErrors() {
    std::string errors;
    char buffer[256];
    for (ssize_t count; (count = ::read(m_errors, buffer, sizeof buffer)) > 0;) {
        errors.append(buffer, static_cast<std::size_t>(count));
    }
    return errors;
}

void ChildProcess::signal(int number) const {
    if (m_pid > 0) {
        ::kill(m_pid, number);
    }
}

int ChildProcess::wait() {
    if (m_pid <= 0) {
        return -1;
    }
    int status = 0;
    if (::waitpid(m_pid, &status, 0) != m_pid) {
        return -1;
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
