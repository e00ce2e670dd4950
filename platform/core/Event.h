#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

// A manual-reset event: once set, every wait returns until it is reset.
class Event {
public:
    explicit Event(bool signalled = false)
        : m_signalled(signalled)
    {
    }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    void wait();
    // False when the time ran out before the event was set.
    bool wait_for(std::uint32_t milliseconds);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled;
};

}
