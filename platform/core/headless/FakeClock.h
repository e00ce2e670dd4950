#pragma once

#include "platform/core/Clock.h"

#include <atomic>
#include <mutex>

namespace platform::headless {

// A clock that moves only when told to, for tests; install it with
// ScopedService<Clock, FakeClock> (platform/core/Service.h). Moving it wakes the
// threads that wait for a due timer.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::uint32_t ticks = 0, FileTime local = file_time_of_1970);
    // The clock that comes back after it is no longer held up by this one.
    ~FakeClock() override { clock_moved(); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    std::uint32_t tick_count() const override { return m_ticks.load(); }
    SystemTime local_time() const override;
    bool runs_by_itself() const override { return false; }

    void set_tick_count(std::uint32_t ticks)
    {
        m_ticks.store(ticks);
        clock_moved();
    }
    void set_local_time(FileTime local);
    // Moves the tick count (wrapping) and the local time together.
    void advance(std::uint32_t milliseconds);

private:
    std::atomic<std::uint32_t> m_ticks;
    mutable std::mutex m_mutex;
    FileTime m_local;
};

}
