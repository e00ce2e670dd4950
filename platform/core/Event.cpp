#include "platform/core/Event.h"

#include <chrono>

namespace platform {

void Event::set()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_changed.notify_all();
}

void Event::reset()
{
    std::lock_guard lock(m_mutex);
    m_signalled = false;
}

void Event::wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_signalled; });
}

bool Event::wait_for(std::uint32_t milliseconds)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_signalled; });
}

}
