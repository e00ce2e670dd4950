#include "platform/core/headless/FakeTimedStart.h"

namespace platform::headless {

bool FakeTimedStart::run_app_at_time(std::u16string_view program, const std::optional<SystemTime>& time)
{
    std::lock_guard guard(m_lock);
    m_calls.push_back({ std::u16string(program), time });
    m_pending.erase(std::u16string(program));
    if (time)
        m_pending[std::u16string(program)] = *time;
    return true;
}

std::optional<SystemTime> FakeTimedStart::pending(std::u16string_view program) const
{
    std::lock_guard guard(m_lock);
    auto found = m_pending.find(program);
    if (found == m_pending.end())
        return std::nullopt;
    return found->second;
}

std::vector<FakeTimedStart::Call> FakeTimedStart::calls() const
{
    std::lock_guard guard(m_lock);
    return m_calls;
}

}
