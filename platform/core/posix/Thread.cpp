#include "platform/core/Thread.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace platform {

ThreadId current_thread_id()
{
    static thread_local ThreadId id = static_cast<ThreadId>(syscall(SYS_gettid));
    return id;
}

bool set_thread_priority(ThreadId thread, int priority)
{
    // Nice values for priorities 1..5.
    static constexpr int nice_for[] = { -10, -5, 0, 5, 10 };
    if (priority < 1)
        priority = 1;
    if (priority > 5)
        priority = 5;
    if (setpriority(PRIO_PROCESS, thread, nice_for[priority - 1]) == 0)
        return true;
    return errno == EACCES || errno == EPERM;
}

void sleep_ms(std::uint32_t milliseconds)
{
    timespec left { static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L };
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}
