#include "tests/network/support/ObexPeer.h"

#include "os/Registry.h"
#include "platform/core/Utf8.h"

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace test {

void set_obex_peers(const std::string& entries)
{
    os::registry_write_string(
        u"HKEY_CURRENT_USER\\Software\\Qiro", u"ObexPeers", platform::from_utf8(entries));
}

ObexPeer::ObexPeer(std::vector<std::string> options)
{
    std::vector<std::string> argv = { OBEX_TEST_PEER, "--out", m_out.path() };
    argv.insert(argv.end(), options.begin(), options.end());
    std::vector<char*> args;
    for (auto& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int rc = posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        m_pid = -1;
        close(out[0]);
        return;
    }
    std::string line;
    char c;
    pollfd fd = { out[0], POLLIN, 0 };
    while (poll(&fd, 1, 10000) == 1 && read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(out[0]);
    m_port = std::atoi(line.c_str());
    if (m_port)
        set_obex_peers("127.0.0.1:" + std::to_string(m_port));
}

ObexPeer::~ObexPeer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

std::vector<std::string> ObexPeer::log() const
{
    std::vector<std::string> lines;
    std::istringstream in(read_file(m_out.file("log")));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}
