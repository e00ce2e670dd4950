#include "bench/support/Reference.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

bool run(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) { }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class InputFolder {
public:
    InputFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanta-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }

    ~InputFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}

double measure(benchmark::State& state, const std::function<void()>& work)
{
    double total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        work();
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    return state.iterations() ? total / double(state.iterations()) : 0;
}

std::string generated_input(const std::string& name, std::vector<std::string> argv)
{
    static InputFolder folder;
    static std::map<std::string, std::string> made;
    if (auto it = made.find(name); it != made.end())
        return it->second;
    if (folder.path().empty())
        return {};
    std::string path = folder.path() + "/" + name;
    for (auto& arg : argv) {
        if (arg == "%o")
            arg = path;
    }
    std::string result = run(argv) ? path : std::string();
    made[name] = result;
    return result;
}

}
