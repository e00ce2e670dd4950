#include "platform/CriticalSection.h"

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

bool CriticalSection::try_enter()
{
    if (is_owned_by_caller()) {
        ++m_count;
        return true;
    }
    if (!m_mutex.try_lock())
        return false;
    m_owner.store(current_thread_id(), std::memory_order_relaxed);
    m_count = 1;
    return true;
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

unsigned CriticalSection::entry_count() const
{
    return is_owned_by_caller() ? m_count : 0;
}

void CriticalSection::leave_all()
{
    if (!is_owned_by_caller())
        return;
    m_count = 1;
    leave();
}

}
