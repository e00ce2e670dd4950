#include "platform/core/posix/WaiterTimedStart.h"

#include "platform/core/Utf8.h"
#include "platform/core/posix/WaiterRecord.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::u16string_view waiter_key = u"Software\\Qiro\\RunAtTime";

using detail::Waiter;

// Field 22 of /proc/<pid>/stat; 0 when the process is gone.
unsigned long long process_start(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return 0;
    return detail::stat_start_time(line);
}

// The local time as the system's clock counts it.
std::optional<timespec> wall_time_of(const SystemTime& time)
{
    std::tm broken {};
    broken.tm_year = time.year - 1900;
    broken.tm_mon = time.month - 1;
    broken.tm_mday = time.day;
    broken.tm_hour = time.hour;
    broken.tm_min = time.minute;
    broken.tm_sec = time.second;
    broken.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&broken);
    if (seconds == std::time_t(-1))
        return std::nullopt;
    return timespec { seconds, long(std::min<int>(time.milliseconds, 999)) * 1000000 };
}

// Runs in the forked waiter, so only calls that are safe after a fork of a
// threaded process: it keeps nothing of ours open (no lock file, no pipe of
// a test runner), sleeps until the time and becomes the program.
[[noreturn]] void wait_and_start(const char* program, char* const argv[], const timespec& when)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    struct sigaction fallback { };

    fallback.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &fallback, nullptr);
    const int null = open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3 && null >= 0; ++fd)
        dup2(null, fd);
    syscall(SYS_close_range, 3u, ~0u, 0u);
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &when, nullptr) == EINTR) { }
    execv(program, argv);
    _exit(127);
}

// A grandchild, so that it belongs to no one: nobody has to reap it.
std::optional<Waiter> spawn_waiter(const std::string& program, const timespec& when)
{
    std::string argument = to_utf8(timed_start_argument);
    std::string path = program;
    char* const argv[] = { path.data(), argument.data(), nullptr };
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        setsid();
        const pid_t waiter = fork();
        if (waiter == 0)
            wait_and_start(path.c_str(), argv, when);
        const bool told = write(channel[1], &waiter, sizeof waiter) == ssize_t(sizeof waiter);
        _exit(told && waiter > 0 ? 0 : 1);
    }
    close(channel[1]);
    pid_t waiter = -1;
    if (child > 0) {
        ssize_t got;
        while ((got = read(channel[0], &waiter, sizeof waiter)) < 0 && errno == EINTR) { }
        if (got != ssize_t(sizeof waiter))
            waiter = -1;
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    }
    close(channel[0]);
    if (waiter <= 0)
        return std::nullopt;
    return Waiter { waiter, process_start(waiter) };
}

}

WaiterTimedStart::WaiterTimedStart(std::string registry_file)
    : m_store(std::move(registry_file))
{
}

bool WaiterTimedStart::cancel(std::u16string_view program)
{
    if (!m_store.create_key(RegistryRoot::current_user, waiter_key))
        return false;
    const auto value = m_store.get_value(RegistryRoot::current_user, waiter_key, program);
    if (!value)
        return true;
    if (auto waiter = detail::parse_waiter(value->data);
        waiter && waiter->start != 0 && process_start(waiter->pid) == waiter->start)
        kill(waiter->pid, SIGTERM);
    return m_store.set_value(
        RegistryRoot::current_user, waiter_key, program, registry_string, detail::waiter_data({}));
}

bool WaiterTimedStart::run_app_at_time(std::u16string_view program, const std::optional<SystemTime>& time)
{
    if (!cancel(program))
        return false;
    if (!time)
        return true;
    const auto when = wall_time_of(*time);
    if (!when || program.empty())
        return false;
    const auto waiter = spawn_waiter(to_utf8(program), *when);
    if (!waiter)
        return false;
    if (m_store.set_value(
            RegistryRoot::current_user, waiter_key, program, registry_string, detail::waiter_data(waiter)))
        return true;
    // Unrecorded, it could never be replaced: one pending start at most.
    kill(waiter->pid, SIGTERM);
    return false;
}

ServiceSlot<TimedStart>& timed_start_slot()
{
    static ServiceSlot<TimedStart> slot(make_backend<TimedStart, WaiterTimedStart>);
    return slot;
}

}
