#include "os/Timer.h"

#include "os/CActiveScheduler.h"
#include "platform/core/Clock.h"

#include <algorithm>

namespace liba {

namespace {

CActiveScheduler& scheduler()
{
    return program_scheduler();
}

// Seconds to whole milliseconds, truncated toward zero; what cannot be a tick distance is
// held within one.
std::uint32_t milliseconds(double seconds)
{
    double ms = seconds * 1000;
    if (!(ms == ms))
        return 0;
    ms = std::clamp(ms, -2147483648.0, 2147483647.0);
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(ms));
}

}

void Timer::Impl::run()
{
    scheduler().remove_timer(*this);
    m_owner.m_listener->on_timer(m_owner);
}

void Timer::Impl::DoCancel()
{
    scheduler().remove_timer(*this);
    // So that the cancel finds exactly one completion of this timer in the queue.
    if (!notified) {
        notified = true;
        scheduler().notify(*this);
    }
}

Timer::Timer(Listener& listener)
    : m_impl(new Impl(*this))
    , m_listener(&listener)
{
}

Timer::~Timer()
{
    cancel();
    delete m_impl;
}

void Timer::start(double seconds)
{
    CActiveScheduler& s = scheduler();
    if (m_impl->is_active())
        s.cancel(*m_impl);
    m_impl->due_tick = platform::tick_count() + milliseconds(seconds);
    s.set_active(*m_impl);
    m_impl->notified = false;
    s.add_timer(*m_impl);
    s.process_timers();
}

void Timer::cancel()
{
    m_impl->cancel();
}

bool Timer::is_active() const
{
    return m_impl->is_active();
}

}
