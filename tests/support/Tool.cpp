#include "tests/support/Tool.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace test {

ToolResult run_tool(const std::vector<std::string>& argv, const std::string& stdin_bytes)
{
    ToolResult result;
    int out_pipe[2], in_pipe[2];
    if (pipe(out_pipe) != 0 || pipe(in_pipe) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, in_pipe[0], 0);
    posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
    posix_spawn_file_actions_addclose(&actions, in_pipe[1]);
    std::vector<char*> args;
    for (auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out_pipe[1]);
    close(in_pipe[0]);
    if (rc != 0) {
        close(out_pipe[0]);
        close(in_pipe[1]);
        return result;
    }
    // Feed stdin and drain stdout together so neither side blocks on a full pipe.
    signal(SIGPIPE, SIG_IGN);
    size_t written = 0;
    if (stdin_bytes.empty()) {
        close(in_pipe[1]);
        in_pipe[1] = -1;
    }
    char buf[65536];
    for (;;) {
        pollfd fds[2] = { { out_pipe[0], POLLIN, 0 }, { in_pipe[1], POLLOUT, 0 } };
        int n = poll(fds, in_pipe[1] >= 0 ? 2 : 1, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (fds[0].revents) {
            ssize_t got = read(out_pipe[0], buf, sizeof buf);
            if (got <= 0)
                break;
            result.out.append(buf, static_cast<size_t>(got));
        }
        if (in_pipe[1] >= 0 && fds[1].revents) {
            ssize_t put = write(in_pipe[1], stdin_bytes.data() + written, stdin_bytes.size() - written);
            if (put > 0)
                written += static_cast<size_t>(put);
            if (put <= 0 || written == stdin_bytes.size()) {
                close(in_pipe[1]);
                in_pipe[1] = -1;
            }
        }
    }
    if (in_pipe[1] >= 0)
        close(in_pipe[1]);
    close(out_pipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

bool have_tool(const std::string& name)
{
    return run_tool({ "sh", "-c", "command -v \"$0\" >/dev/null", name }).exit_code == 0;
}

}
