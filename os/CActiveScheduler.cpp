#include "os/CActiveScheduler.h"

#include "os/CActive.h"
#include "os/Log.h"
#include "platform/core/Clock.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"

#include <algorithm>

namespace {

constexpr std::uint32_t style_popup = 0x80000000;
constexpr std::uintptr_t timer_id = 1;
// Stands for "no running timer" in a timer pass.
constexpr std::int32_t no_timer = 10000000;

template<typename T>
bool remove_from(std::list<T*>& list, T& item)
{
    auto it = std::find(list.begin(), list.end(), &item);
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

}

CActiveScheduler::CActiveScheduler()
{
    platform::register_window_class({ u"CActiveSchedulerClass", {}, false });
    platform::WindowParams params;
    params.class_name = u"CActiveSchedulerClass";
    params.title = u"CActiveScheduler";
    params.style = style_popup;
    m_window = platform::create_window(params);
    platform::set_window_procedure(m_window,
        [this](platform::Window window, platform::MessageId id, platform::WParam wparam,
            platform::LParam lparam) { return window_proc(window, id, wparam, lparam); });
}

CActiveScheduler::~CActiveScheduler()
{
    if (!m_active_list.empty())
        os::fatal_error(u"", u"Some active objects still live while scheduler is terminating");
    platform::destroy_window(m_window);
}

void CActiveScheduler::set_active(CActive& object)
{
    if (object.m_active.load())
        os::fatal_error(u"CActiveScheduler::set_active", u"Object is already active");
    object.m_active.store(true);
    m_active_list.push_back(&object);
}

void CActiveScheduler::notify(CActive& object)
{
    if (!object.m_active.load())
        os::fatal_error(u"CActiveScheduler::notify()", u"Active object is not active");
    platform::post_message(m_window, active_completed_message, &object);
}

bool CActiveScheduler::process_actives(CActive& object)
{
    if (std::find(m_active_list.begin(), m_active_list.end(), &object) == m_active_list.end())
        os::fatal_error(u"CActiveScheduler::process_actives()", u"Active object is not in active list");
    if (!object.m_active.load())
        os::fatal_error(u"CActiveScheduler::process_actives()", u"Active object is not marked active");
    object.m_active.store(false);
    remove_from(m_active_list, object);
    object.run();
    return true;
}

void CActiveScheduler::cancel(CActive& object)
{
    object.DoCancel();
    if (remove_from(m_pending_actives, object)) {
        // An outer cancel already took its completion off the queue.
        object.m_active.store(false);
        remove_from(m_active_list, object);
        return;
    }
    platform::Message m;
    for (;;) {
        if (!platform::get_message(
                m, m_window, platform::msg::active_completed, platform::msg::active_completed)) {
            // The quit request belongs to the loop outside; hand it back.
            platform::post_quit_message(static_cast<int>(m.wparam));
            break;
        }
        CActive* completed = active_completed_message.payload(m);
        if (completed == &object) {
            object.m_active.store(false);
            remove_from(m_active_list, object);
            break;
        }
        if (!completed->m_active.load())
            os::fatal_error(u"CActiveScheduler::cancel",
                u"Object to be added to pending_actives is not marked as active");
        m_pending_actives.push_back(completed);
    }
    while (!m_pending_actives.empty()) {
        CActive* next = m_pending_actives.front();
        m_pending_actives.pop_front();
        process_actives(*next);
    }
}

void CActiveScheduler::process_timers()
{
    platform::kill_timer(m_window, timer_id);
    std::uint32_t now = platform::tick_count();
    std::int32_t smallest = no_timer;
    for (liba::Timer::Impl* timer : m_timer_list) {
        auto remaining = static_cast<std::int32_t>(timer->due_tick - now);
        if (remaining >= 1) {
            smallest = std::min(smallest, remaining);
        } else if (!timer->notified) {
            timer->notified = true;
            notify(*timer);
        }
    }
    if (smallest != no_timer)
        platform::set_timer(m_window, timer_id, static_cast<std::uint32_t>(smallest));
}

platform::LResult CActiveScheduler::window_proc(
    platform::Window window, platform::MessageId id, platform::WParam wparam, platform::LParam lparam)
{
    if (id == platform::msg::active_completed)
        process_actives(*active_completed_message.payload(wparam, lparam));
    else if (id == platform::msg::timer)
        process_timers();
    return platform::default_window_procedure(window, id, wparam, lparam);
}

void CActiveScheduler::add_timer(liba::Timer::Impl& timer)
{
    m_timer_list.push_back(&timer);
}

void CActiveScheduler::remove_timer(liba::Timer::Impl& timer)
{
    remove_from(m_timer_list, timer);
}
