#include "liba/Thread.h"

#include <system_error>

namespace liba {

void sleep(std::uint32_t milliseconds) { platform::sleep_ms(milliseconds); }

Thread::~Thread()
{
    std::lock_guard control(m_impl.control);
    if (!m_impl.thread.joinable())
        return;
    // A body that has returned is only finishing its trampoline: wait for that.
    if (is_running())
        m_impl.thread.detach();
    else
        m_impl.thread.join();
}

bool Thread::is_caller_the_body() const
{
    return is_running() && thread_id() == platform::current_thread_id();
}

bool Thread::start()
{
    if (is_running())
        return false;
    std::lock_guard control(m_impl.control);
    if (is_running())
        return false;
    if (m_impl.thread.joinable())
        m_impl.thread.join();
    m_stop.store(false, std::memory_order_release);
    {
        std::lock_guard lock(m_impl.suspend_mutex);
        m_impl.suspend_count = 0;
    }
    m_impl.id.store(0, std::memory_order_release);
    m_impl.running.store(true, std::memory_order_release);
    try {
        m_impl.thread = std::thread(trampoline, this);
    } catch (const std::system_error&) {
        m_impl.running.store(false, std::memory_order_release);
        return false;
    }
    // The id is known to the owner as soon as start returns.
    m_impl.id.wait(0, std::memory_order_acquire);
    return true;
}

void Thread::trampoline(Thread* self)
{
    self->m_impl.id.store(platform::current_thread_id(), std::memory_order_release);
    self->m_impl.id.notify_all();
    self->run();
    // The last touch of the object: after this the owner may restart or destroy it.
    self->m_impl.running.store(false, std::memory_order_release);
}

void Thread::join()
{
    if (is_caller_the_body())
        return;
    std::lock_guard control(m_impl.control);
    if (m_impl.thread.joinable())
        m_impl.thread.join();
}

bool Thread::set_priority(int level)
{
    if (level < -2)
        level = -2;
    if (level > 2)
        level = 2;
    if (!is_running())
        return false;
    return platform::set_thread_priority(thread_id(), 3 - level);
}

int Thread::suspend()
{
    if (!is_caller_the_body())
        return -1;
    std::unique_lock lock(m_impl.suspend_mutex);
    const int previous = m_impl.suspend_count;
    ++m_impl.suspend_count;
    m_impl.resumed.wait(lock, [this] { return m_impl.suspend_count <= 0; });
    return previous > 0 ? previous : 0;
}

int Thread::resume()
{
    if (!is_running())
        return -1;
    int previous;
    {
        std::lock_guard lock(m_impl.suspend_mutex);
        previous = m_impl.suspend_count;
        if (m_impl.suspend_count > -1)
            --m_impl.suspend_count;
    }
    m_impl.resumed.notify_all();
    return previous > 0 ? previous : 0;
}

}
