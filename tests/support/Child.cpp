#include "tests/support/Child.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace test {

Child::Child(const std::vector<std::string>& argv)
{
    int in_pipe[2], out_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0)
        return;
    if (pipe2(out_pipe, O_CLOEXEC) != 0) {
        close(in_pipe[0]);
        close(in_pipe[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in_pipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
    std::vector<char*> args;
    for (auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
        m_pid = pid;
    posix_spawn_file_actions_destroy(&actions);
    close(in_pipe[0]);
    close(out_pipe[1]);
    m_in = in_pipe[1];
    m_out = out_pipe[0];
    signal(SIGPIPE, SIG_IGN);
}

Child::~Child()
{
    if (m_pid > 0) {
        kill(SIGKILL);
        wait();
    }
    close_stdin();
    if (m_out >= 0)
        close(m_out);
}

std::string Child::read_line(int timeout_ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        auto end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now())
                        .count();
        pollfd pfd { m_out, POLLIN, 0 };
        if (m_out < 0 || left <= 0 || poll(&pfd, 1, static_cast<int>(left)) <= 0)
            return {};
        char chunk[4096];
        ssize_t got = read(m_out, chunk, sizeof chunk);
        if (got <= 0)
            return {};
        m_buffer.append(chunk, static_cast<std::size_t>(got));
    }
}

bool Child::write(const std::string& bytes)
{
    std::size_t done = 0;
    while (m_in >= 0 && done < bytes.size()) {
        ssize_t put = ::write(m_in, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return m_in >= 0;
}

void Child::close_stdin()
{
    if (m_in >= 0)
        close(m_in);
    m_in = -1;
}

void Child::kill(int signal)
{
    if (m_pid > 0)
        ::kill(m_pid, signal);
}

std::optional<int> Child::wait_for(int timeout_ms)
{
    if (m_pid <= 0)
        return -1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() > end)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int Child::wait()
{
    if (m_pid <= 0)
        return -1;
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) { }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}
