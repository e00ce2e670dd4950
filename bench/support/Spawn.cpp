#include "bench/support/Spawn.h"

#include <fcntl.h>
#include <map>
#include <spawn.h>

extern char** environ;

namespace bench {

pid_t spawn_quiet(const std::vector<std::string>& argv, const std::vector<std::string>& variables)
{
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string item = *e;
        merged[item.substr(0, item.find('='))] = item;
    }
    for (const std::string& item : variables)
        merged[item.substr(0, item.find('='))] = item;
    std::vector<std::string> keep;
    for (auto& [name, item] : merged)
        keep.push_back(item);
    std::vector<char*> envp, args;
    for (auto& item : keep)
        envp.push_back(item.data());
    envp.push_back(nullptr);
    std::vector<std::string> argv_copy = argv;
    for (auto& a : argv_copy)
        args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : 0;
}

}
