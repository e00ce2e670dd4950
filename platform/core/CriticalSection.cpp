#include "platform/core/CriticalSection.h"

namespace platform {

void CriticalSection::enter()
{
    if (is_owned_by_caller()) {
        ++m_count;
        return;
    }
    m_mutex.lock();
    m_owner.store(current_thread_id(), std::memory_order_relaxed);
    m_count = 1;
}

void CriticalSection::leave()
{
    if (!is_owned_by_caller())
        return;
    if (--m_count > 0)
        return;
    m_owner.store(0, std::memory_order_relaxed);
    m_mutex.unlock();
}

void CriticalSection::leave_all()
{
    if (!is_owned_by_caller())
        return;
    m_count = 1;
    leave();
}

}
