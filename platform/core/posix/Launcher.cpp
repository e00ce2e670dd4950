#include "platform/core/Launcher.h"

#include "platform/core/Utf8.h"

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

std::mutex opener_lock;
std::u16string opener = u"xdg-open";

}

bool launch(const std::vector<std::u16string>& argv)
{
    if (argv.empty() || argv[0].empty())
        return false;
    std::vector<std::string> args;
    for (auto& a : argv)
        args.push_back(to_utf8(a));
    std::vector<char*> pointers;
    for (auto& a : args)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Our lock files and sockets must not outlive us in the started program.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    pid_t pid;
    int rc = posix_spawnp(&pid, pointers[0], &actions, &attributes, pointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    // Nobody waits for the program; reap it so it leaves no zombie behind.
    std::thread([pid] {
        int status;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    }).detach();
    return true;
}

bool is_installed(std::u16string_view program)
{
    const std::string name = to_utf8(program);
    if (name.empty())
        return false;
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string folder
            = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

bool open_with_desktop(std::u16string_view target)
{
    return launch({ desktop_opener(), std::u16string(target) });
}

std::u16string desktop_opener()
{
    std::lock_guard guard(opener_lock);
    return opener;
}

void set_desktop_opener(std::u16string program)
{
    std::lock_guard guard(opener_lock);
    opener = std::move(program);
}

}
