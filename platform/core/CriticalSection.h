#pragma once

#include "platform/core/Thread.h"

#include <atomic>
#include <mutex>

namespace platform {

// A recursive lock that knows its owner and how often the owner entered it.
class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void enter();
    // Only the owner may leave.
    void leave();

    bool is_owned_by_caller() const { return m_owner.load(std::memory_order_relaxed) == current_thread_id(); }
    // Leaves every entry of the calling thread.
    void leave_all();

private:
    std::mutex m_mutex;
    std::atomic<ThreadId> m_owner { 0 };
    unsigned m_count { 0 };
};

}
