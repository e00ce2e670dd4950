#pragma once

#include "os/CActive.h"

#include <cstdint>

namespace liba {

// A one-shot timer served by the program's scheduler; its listener is called on the
// GUI thread, from the message loop, at the earliest at the due time.
class Timer {
public:
    class Listener {
    public:
        virtual void on_timer(Timer&) = 0;
        virtual ~Listener() = default;
    };

    class Impl : public CActive {
    public:
        explicit Impl(Timer& owner)
            : m_owner(owner)
        {
        }

        void run() override;
        void DoCancel() override;

        std::uint32_t due_tick = 0; // compared by signed difference: the tick count wraps
        bool notified = false; // its completion was posted since its start

    private:
        Timer& m_owner;
    };

    explicit Timer(Listener&);
    virtual ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // (Re)starts it; durations under 1 ms expire at the next timer pass.
    void start(double seconds);
    void cancel();
    // From the start until the listener has been called or the timer was cancelled.
    bool is_active() const;

private:
    Impl* m_impl;
    Listener* m_listener;
};

}
