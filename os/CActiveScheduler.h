#pragma once

#include "os/Timer.h"
#include "platform/core/Message.h"

#include <list>

class CActive;

// The completion of an active object, posted to the scheduler's window.
inline constexpr platform::PointerMessage<CActive, platform::Carrier::wparam> active_completed_message {
    platform::msg::active_completed
};

// Brings completions back to the GUI thread: notify posts a message to the scheduler's
// hidden window, whose procedure runs the object. One platform timer of that window
// serves every liba::Timer. Everything but notify runs on the thread that made it.
class CActiveScheduler {
public:
    CActiveScheduler();
    virtual ~CActiveScheduler();
    CActiveScheduler(const CActiveScheduler&) = delete;
    CActiveScheduler& operator=(const CActiveScheduler&) = delete;

    void set_active(CActive&);
    // From any thread.
    void notify(CActive&);
    bool process_actives(CActive&);
    // Consumes the object's completion instead of running it; completions of other
    // objects met on the way run afterwards, in queue order.
    void cancel(CActive&);
    // Notifies the due timers and arms the platform timer for the nearest other one.
    void process_timers();
    platform::LResult window_proc(platform::Window, platform::MessageId, platform::WParam, platform::LParam);

    platform::Window window() const { return m_window; }

    void add_timer(liba::Timer::Impl&);
    void remove_timer(liba::Timer::Impl&);

private:
    std::list<CActive*> m_active_list;
    std::list<CActive*> m_pending_actives;
    std::list<liba::Timer::Impl*> m_timer_list;
    platform::Window m_window {};
};

// The scheduler of the program's application object (os::Application).
CActiveScheduler& program_scheduler();
