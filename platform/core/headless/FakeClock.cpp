#include "platform/core/headless/FakeClock.h"

namespace platform::headless {

FakeClock::FakeClock(std::uint32_t ticks, FileTime local)
    : m_ticks(ticks)
    , m_local(local)
{
}

SystemTime FakeClock::local_time() const
{
    std::lock_guard lock(m_mutex);
    SystemTime t;
    file_time_to_system_time(m_local, t);
    return t;
}

void FakeClock::set_local_time(FileTime local)
{
    std::lock_guard lock(m_mutex);
    m_local = local;
}

void FakeClock::advance(std::uint32_t milliseconds)
{
    m_ticks.fetch_add(milliseconds);
    {
        std::lock_guard lock(m_mutex);
        m_local += static_cast<FileTime>(milliseconds) * 10000;
    }
    clock_moved();
}

}
