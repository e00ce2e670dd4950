// The whole program as a user meets it, against the players a user would run
// instead, each a process of its own on the benchmark's own X server:
//  - launch to mapped window: from the spawn until the X server maps the
//    process's first top-level window;
//  - resident memory with that window shown, 2 s after it mapped;
//  - CPU time over an idle stretch (default 10 s) and the wake-ups per second
//    (voluntary context switches of all its threads) in it.
// Ours is the program folder's executable without a file, audacious without a
// file, ffplay showing a still gray picture; all get
// one desktop bus of the benchmark's own, as in a desktop session. Rounds
// are interleaved (ours, audacious, ffplay, ours, ...) after one unmeasured
// start of each; every figure is given
// as the median and range over the rounds, and as ours/theirs round by round.
//   orvanta_process_bench [--rounds N] [--idle SECONDS] [--baseline PROGRAM]
// --baseline adds another build of the program (its program folder's
// executable) as one more contender, "baseline".
#include "bench/process/ProcessFigures.h"
#include "bench/process/SessionBus.h"
#include "bench/process/XServer.h"
#include "bench/support/Spawn.h"
#include "bench/support/Spread.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>


namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A folder for the programs' settings and runtime files, removed at exit.
struct Scratch {
    Scratch()
    {
        std::string name = (fs::temp_directory_path() / "orvanta-process-bench-XXXXXX").string();
        if (mkdtemp(name.data()))
            path = name;
    }
    ~Scratch()
    {
        std::error_code error;
        if (!path.empty())
            fs::remove_all(path, error);
    }
    fs::path path;
};

struct Contender {
    std::string name;
    std::vector<std::string> argv;
    // Added to the environment; the X display is added for every one.
    std::vector<std::string> environment;
};

struct Figures {
    double launch_ms = 0;
    double resident_mib = 0;
    double idle_cpu_s = 0;
    double wakeups_per_s = 0;
};

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 60; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// One round of one program; false when it did not show a window.
bool measure(bench::XServer& x, const std::string& bus, const Contender& who, std::chrono::seconds idle,
    Figures& figures)
{
    std::vector<std::string> variables = who.environment;
    variables.push_back("DISPLAY=" + x.name());
    if (!bus.empty())
        variables.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus);
    x.forget_events();
    const Clock::time_point start = Clock::now();
    const pid_t pid = bench::spawn_quiet(who.argv, variables);
    if (pid == 0)
        return false;
    Clock::time_point mapped;
    if (!x.wait_for_map(pid, mapped, std::chrono::seconds(30))) {
        stop(pid);
        return false;
    }
    figures.launch_ms = std::chrono::duration<double, std::milli>(mapped - start).count();
    // Let it finish what a start leaves to do.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    figures.resident_mib = bench::resident_mib(pid);
    const bench::ProcessCounts before = bench::counts_of(pid);
    const Clock::time_point from = Clock::now();
    std::this_thread::sleep_for(idle);
    const bench::ProcessCounts after = bench::counts_of(pid);
    const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
    figures.idle_cpu_s = std::max(0.0, after.cpu_seconds - before.cpu_seconds);
    figures.wakeups_per_s = double(after.wakeups - std::min(after.wakeups, before.wakeups)) / seconds;
    stop(pid);
    return true;
}

bool have(const std::string& tool)
{
    const std::string command = "command -v " + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}

int main(int argc, char** argv)
{
    int rounds = 5;
    int idle_seconds = 10;
    std::string baseline;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--idle") == 0)
            idle_seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--baseline") == 0)
            baseline = argv[i + 1];
    }
    Scratch scratch;
    bench::XServer x;
    bench::SessionBus bus;
    if (scratch.path.empty() || !x.is_running()) {
        std::fprintf(stderr, "process bench: no scratch folder or no Xvfb\n");
        return 1;
    }
    const auto home_of = [&](const std::string& who) {
        const fs::path home = scratch.path / ("home-" + who);
        fs::create_directories(home / "run");
        fs::permissions(home / "run", fs::perms::owner_all);
        return std::vector<std::string> { "HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string(),
            "XDG_DATA_HOME=" + (home / "data").string(), "XDG_CACHE_HOME=" + (home / "cache").string(),
            "XDG_RUNTIME_DIR=" + (home / "run").string() };
    };
    // A build of ours from a copy of its program folder's data, with settings of its own.
    const auto program = [&](const std::string& who, const fs::path& executable) {
        const fs::path folder = scratch.path / who;
        fs::create_directories(folder);
        fs::copy(executable.parent_path() / "skins", folder / "skins", fs::copy_options::recursive);
        fs::copy_file(executable.parent_path() / "English.lng", folder / "English.lng");
        Contender c { who, { executable.string() }, home_of(who) };
        c.environment.push_back("ORVANTA_APP_PATH=" + folder.string());
        c.environment.push_back("ORVANTA_REGISTRY_FILE=" + (scratch.path / ("home-" + who) / "registry").string());
        return c;
    };
    std::vector<Contender> contenders { program("ours", ORVANTA_PROGRAM) };
    if (have("audacious"))
        contenders.push_back({ "audacious", { "audacious" }, home_of("audacious") });
    else
        std::fprintf(stderr, "process bench: audacious is missing (scripts/packages-bench)\n");
    if (!baseline.empty())
        contenders.push_back(program("baseline", baseline));
    if (have("ffplay")) {
        // A still gray picture of the device screen's size.
        const fs::path picture = scratch.path / "gray.ppm";
        std::ofstream(picture, std::ios::binary) << "P6 240 320 255\n" << std::string(240 * 320 * 3, char(128));
        contenders.push_back({ "ffplay",
            { "ffplay", "-hide_banner", "-loglevel", "quiet", "-x", "240", "-y", "320", picture.string() },
            home_of("ffplay") });
    }

    // One unmeasured start each: a first start makes its settings (audacious
    // also its plugin registry), which a user pays once.
    for (const Contender& who : contenders) {
        std::vector<std::string> variables = who.environment;
        variables.push_back("DISPLAY=" + x.name());
        if (!bus.address().empty())
            variables.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus.address());
        x.forget_events();
        if (const pid_t pid = bench::spawn_quiet(who.argv, variables)) {
            Clock::time_point mapped;
            x.wait_for_map(pid, mapped, std::chrono::seconds(30));
            std::this_thread::sleep_for(std::chrono::seconds(1));
            stop(pid);
        }
    }
    std::vector<std::vector<Figures>> results(contenders.size());
    std::vector<bool> failed(contenders.size(), false);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            Figures f;
            if (measure(x, bus.address(), contenders[i], std::chrono::seconds(idle_seconds), f)) {
                results[i].push_back(f);
            } else {
                failed[i] = true;
                std::fprintf(stderr, "process bench: %s showed no window\n", contenders[i].name.c_str());
            }
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }

    struct Row {
        const char* what;
        double Figures::*field;
        int decimals;
    };
    const std::string idle_label = "CPU s per " + std::to_string(idle_seconds) + " s idle";
    const Row rows[] = {
        { "launch to mapped window, ms", &Figures::launch_ms, 1 },
        { "resident memory with window, MiB", &Figures::resident_mib, 1 },
        { idle_label.c_str(), &Figures::idle_cpu_s, 4 },
        { "wake-ups per second, idle", &Figures::wakeups_per_s, 2 },
    };
    const auto column = [&](std::size_t i, double Figures::*field) {
        std::vector<double> values;
        for (const Figures& f : results[i])
            values.push_back(f.*field);
        return values;
    };
    std::printf("%d interleaved rounds; median (range)\n", rounds);
    for (const Row& row : rows) {
        std::printf("\n%s\n", row.what);
        for (std::size_t i = 0; i < contenders.size(); ++i)
            std::printf("  %-10s %s\n", contenders[i].name.c_str(),
                bench::format_spread(bench::spread_of(column(i, row.field)), row.decimals).c_str());
        for (std::size_t i = 1; i < contenders.size(); ++i)
            std::printf("  ours/%-9s %s\n", contenders[i].name.c_str(),
                bench::format_spread(bench::ratio_spread(column(0, row.field), column(i, row.field)), 2).c_str());
    }
    for (std::size_t i = 0; i < contenders.size(); ++i)
        if (failed[i])
            return 1;
    return 0;
}
