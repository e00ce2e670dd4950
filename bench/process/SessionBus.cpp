#include "bench/process/SessionBus.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

pid_t start_reading_line(const char* const* argv, int fd, std::string& line)
{
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], fd);
    if (fd != 2)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_fds[1]);
    if (failed != 0) {
        close(pipe_fds[0]);
        return 0;
    }
    pollfd ready { pipe_fds[0], POLLIN, 0 };
    char c = 0;
    while (poll(&ready, 1, 20000) > 0 && read(pipe_fds[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(pipe_fds[0]);
    return pid;
}

SessionBus::SessionBus()
{
    const char* argv[] = { "dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1", nullptr };
    m_daemon = start_reading_line(argv, 1, m_address);
}

SessionBus::~SessionBus()
{
    if (m_daemon > 0) {
        kill(m_daemon, SIGTERM);
        waitpid(m_daemon, nullptr, 0);
    }
}

}
