#include "platform/core/headless/FakeSleepInhibitor.h"

namespace platform::headless {

bool FakeSleepInhibitor::hold(std::u16string_view why)
{
    if (m_locks == 1 && m_reason == why)
        return true;
    ++m_taken;
    m_reason = why;
    m_locks = 1;
    return true;
}

void FakeSleepInhibitor::release()
{
    m_locks = 0;
    m_reason.clear();
}

}
