#include "platform/core/MessageQueue.h"

#include "platform/core/detail/MessageState.h"
#include "platform/core/detail/WindowSystem.h"

#include <algorithm>
#include <chrono>

namespace platform {

namespace detail {

MessageState& state()
{
    static MessageState* s = [] {
        auto* made = new MessageState;
        // The system's plain class: a window that draws and does nothing by itself.
        auto plain = std::make_shared<WindowClassRecord>();
        plain->name = u"STATIC";
        plain->procedure = default_window_procedure;
        made->classes.emplace(u"static", std::move(plain));
        return made;
    }();
    return *s;
}

void ThreadQueue::wake()
{
    changed.notify_all();
    if (WaitHook* h = hook.load())
        h->wake();
}

namespace {

// Set once the thread's queue has gone with its thread storage; a plain
// flag, so it can still be read by the static destructors that run after.
thread_local bool queue_gone = false;

// Leaving the thread fails what waits on it and frees its windows.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;

    ~QueueHolder()
    {
        queue_gone = true;
        if (!queue)
            return;
        {
            std::lock_guard lock(state().mutex);
            state().queues.erase(queue->id);
        }
        drop_windows_of(queue);
        std::deque<std::shared_ptr<SentMessage>> orphans;
        {
            std::lock_guard lock(queue->mutex);
            queue->alive = false;
            orphans.swap(queue->sent);
            queue->timers.clear();
        }
        for (auto& item : orphans) {
            if (auto sender = item->sender.lock()) {
                std::lock_guard lock(sender->mutex);
                item->done = true;
                sender->wake();
            }
        }
    }
};

thread_local QueueHolder this_holder;

}

std::shared_ptr<ThreadQueue> current_queue()
{
    if (!this_holder.queue) {
        auto queue = std::make_shared<ThreadQueue>(current_thread_id());
        std::lock_guard lock(state().mutex);
        state().queues[queue->id] = queue;
        this_holder.queue = queue;
    }
    return this_holder.queue;
}

}

using namespace detail;

namespace {

bool in_range(MessageId id, MessageId first, MessageId last)
{
    return (first == 0 && last == 0) || (id >= first && id <= last);
}

bool matches(const Message& m, Window filter, MessageId first, MessageId last)
{
    if (m.message == msg::quit)
        return true;
    return (filter == no_window || m.window == filter) && in_range(m.message, first, last);
}

void complete(const std::shared_ptr<SentMessage>& item, bool delivered, LResult result)
{
    auto sender = item->sender.lock();
    if (!sender)
        return;
    std::lock_guard lock(sender->mutex);
    item->delivered = delivered;
    item->result = result;
    item->done = true;
    sender->wake();
}

std::shared_ptr<const WindowProc> procedure_of(Window window, ThreadId* owner = nullptr)
{
    std::lock_guard lock(state().mutex);
    auto it = state().windows.find(static_cast<std::uint32_t>(window));
    if (it == state().windows.end())
        return nullptr;
    if (owner)
        *owner = it->second.queue->id;
    return it->second.procedure;
}

// Handles what other threads sent to this one, in the order they came.
void serve_sent(ThreadQueue& queue)
{
    for (;;) {
        std::shared_ptr<SentMessage> item;
        {
            std::lock_guard lock(queue.mutex);
            if (queue.sent.empty())
                return;
            item = std::move(queue.sent.front());
            queue.sent.pop_front();
        }
        const Message& m = item->message;
        auto procedure = procedure_of(m.window);
        if (!procedure || (item->abandoned && item->abandoned())) {
            complete(item, false, 0);
            continue;
        }
        LResult result = (*procedure)(m.window, m.message, m.wparam, m.lparam);
        complete(item, true, result);
    }
}

bool take_posted(ThreadQueue& queue, Message& out, Window filter, MessageId first, MessageId last, Peek peek)
{
    auto it = std::find_if(queue.posted.begin(), queue.posted.end(),
        [&](const Message& m) { return matches(m, filter, first, last); });
    if (it == queue.posted.end())
        return false;
    out = *it;
    if (peek == Peek::remove)
        queue.posted.erase(it);
    return true;
}

bool take_quit(ThreadQueue& queue, Message& out, Peek peek)
{
    if (!queue.quit)
        return false;
    out = { no_window, msg::quit, static_cast<WParam>(queue.exit_code), 0 };
    if (peek == Peek::remove)
        queue.quit = false;
    return true;
}

// Milliseconds until the tick, negative when it has passed.
std::int32_t until(std::uint32_t tick, std::uint32_t now)
{
    return static_cast<std::int32_t>(tick - now);
}

QueueTimer* earliest_timer(
    ThreadQueue& queue, Window filter, MessageId first, MessageId last, std::uint32_t now)
{
    if (!in_range(msg::timer, first, last))
        return nullptr;
    QueueTimer* best = nullptr;
    for (auto& t : queue.timers) {
        if ((filter == no_window || t.window == filter)
            && (!best || until(t.due_tick, now) < until(best->due_tick, now)))
            best = &t;
    }
    return best;
}

bool take_timer(ThreadQueue& queue, Message& out, Window filter, MessageId first, MessageId last, Peek peek)
{
    std::uint32_t now = tick_count();
    QueueTimer* t = earliest_timer(queue, filter, first, last, now);
    if (!t || until(t->due_tick, now) > 0)
        return false;
    out = { t->window, msg::timer, t->id, 0 };
    if (peek == Peek::remove)
        t->due_tick = now + t->interval_ms;
    return true;
}

void wait_for_change(ThreadQueue& queue, std::unique_lock<std::mutex>& lock, Window filter, MessageId first,
    MessageId last, std::optional<std::uint32_t> limit = std::nullopt)
{
    std::optional<std::uint32_t> timeout = limit;
    std::uint32_t now = tick_count();
    const bool clock_runs = clock().runs_by_itself();
    if (QueueTimer* t = earliest_timer(queue, filter, first, last, now)) {
        auto due = static_cast<std::uint32_t>(std::max(until(t->due_tick, now), 0));
        timeout = timeout ? std::min(*timeout, due) : due;
        // A hook of a test's display moves the clock itself, a step at a time.
        if (!clock_runs)
            timeout = std::min<std::uint32_t>(*timeout, 5);
    }
    if (WaitHook* hook = queue.hook.load()) {
        lock.unlock();
        hook->wait(timeout);
        lock.lock();
        return;
    }
    // A clock that does not run by itself wakes this wait when it moves
    // (clock_moved): its times are no real-time timeout.
    if (timeout && clock_runs)
        queue.changed.wait_for(lock, std::chrono::milliseconds(*timeout));
    else if (timeout && *timeout == 0)
        return;
    else
        queue.changed.wait(lock);
}

bool retrieve(Message& out, Window filter, MessageId first, MessageId last, Peek peek, bool block)
{
    auto queue = current_queue();
    for (;;) {
        serve_sent(*queue);
        {
            std::unique_lock lock(queue->mutex);
            if (!queue->sent.empty())
                continue;
            if (take_posted(*queue, out, filter, first, last, peek) || take_quit(*queue, out, peek))
                return true;
        }
        // Paint is made from the windows' invalid areas: validating removes it.
        auto take_paint = window_system().take_paint;
        if (take_paint && in_range(msg::paint, first, last) && take_paint(filter, out))
            return true;
        std::unique_lock lock(queue->mutex);
        if (!queue->sent.empty())
            continue;
        if (take_posted(*queue, out, filter, first, last, peek) || take_quit(*queue, out, peek)
            || take_timer(*queue, out, filter, first, last, peek))
            return true;
        if (!block)
            return false;
        wait_for_change(*queue, lock, filter, first, last);
    }
}

bool post_to(const std::shared_ptr<ThreadQueue>& queue, const Message& m)
{
    {
        std::lock_guard lock(queue->mutex);
        if (!queue->alive)
            return false;
        queue->posted.push_back(m);
    }
    queue->wake();
    return true;
}

std::shared_ptr<ThreadQueue> queue_of_window(Window window)
{
    std::lock_guard lock(state().mutex);
    auto it = state().windows.find(static_cast<std::uint32_t>(window));
    return it == state().windows.end() ? nullptr : it->second.queue;
}

}

namespace detail {

bool post_message_first(Window window, MessageId id, WParam wparam, LParam lparam)
{
    auto queue = queue_of_window(window);
    if (!queue)
        return false;
    {
        std::lock_guard lock(queue->mutex);
        if (!queue->alive)
            return false;
        queue->posted.push_front({ window, id, wparam, lparam });
    }
    queue->wake();
    return true;
}

}

bool post_message(Window window, MessageId id, WParam wparam, LParam lparam)
{
    auto queue = queue_of_window(window);
    return queue && post_to(queue, { window, id, wparam, lparam });
}

bool post_thread_message(ThreadId thread, MessageId id, WParam wparam, LParam lparam)
{
    std::shared_ptr<ThreadQueue> queue;
    {
        std::lock_guard lock(state().mutex);
        auto it = state().queues.find(thread);
        if (it != state().queues.end())
            queue = it->second;
    }
    return queue && post_to(queue, { no_window, id, wparam, lparam });
}

ThreadId start_message_queue()
{
    current_queue();
    return current_thread_id();
}

void post_quit_message(int exit_code)
{
    auto queue = current_queue();
    std::lock_guard lock(queue->mutex);
    queue->quit = true;
    queue->exit_code = exit_code;
}

namespace detail {

namespace {

// Takes a sent message back from the queue it waits in; false once its handling has begun.
bool withdraw(ThreadQueue& target, const std::shared_ptr<SentMessage>& item)
{
    std::lock_guard lock(target.mutex);
    auto it = std::find(target.sent.begin(), target.sent.end(), item);
    if (it == target.sent.end())
        return false;
    target.sent.erase(it);
    return true;
}

}

std::optional<LResult> send_keeping(Window window, MessageId id, WParam wparam, LParam lparam,
    std::shared_ptr<void> keep_alive, const std::function<bool()>& abandoned)
{
    ThreadId owner = 0;
    auto procedure = procedure_of(window, &owner);
    if (!procedure)
        return std::nullopt;
    if (owner == current_thread_id())
        return (*procedure)(window, id, wparam, lparam);
    procedure.reset();

    auto target = queue_of_window(window);
    auto self = current_queue();
    auto item = std::make_shared<SentMessage>();
    item->message = { window, id, wparam, lparam };
    item->sender = self;
    item->keep_alive = std::move(keep_alive);
    item->abandoned = abandoned;
    if (!target)
        return std::nullopt;
    {
        std::lock_guard lock(target->mutex);
        if (!target->alive)
            return std::nullopt;
        target->sent.push_back(item);
    }
    target->wake();
    const auto answered = [&] { return item->done || !self->sent.empty(); };
    for (;;) {
        serve_sent(*self);
        std::unique_lock lock(self->mutex);
        if (!abandoned)
            self->changed.wait(lock, answered);
        else if (!self->changed.wait_for(lock, std::chrono::milliseconds(50), answered)) {
            lock.unlock();
            if (abandoned() && withdraw(*target, item))
                return std::nullopt;
            continue;
        }
        if (item->done)
            return item->delivered ? std::optional(item->result) : std::nullopt;
    }
}

}

std::optional<LResult> send_message_checked(Window window, MessageId id, WParam wparam, LParam lparam)
{
    return send_keeping(window, id, wparam, lparam, nullptr);
}

LResult send_message(Window window, MessageId id, WParam wparam, LParam lparam)
{
    return send_message_checked(window, id, wparam, lparam).value_or(0);
}

bool get_message(Message& out, Window filter, MessageId first, MessageId last)
{
    retrieve(out, filter, first, last, Peek::remove, true);
    return out.message != msg::quit;
}

bool wait_message(std::optional<std::uint32_t> timeout_ms)
{
    std::uint32_t start = tick_count();
    for (;;) {
        Message m;
        if (peek_message(m, {}, 0, 0, Peek::keep))
            return true;
        std::optional<std::uint32_t> remaining;
        if (timeout_ms) {
            std::uint32_t elapsed = tick_count() - start;
            if (elapsed >= *timeout_ms)
                return false;
            remaining = *timeout_ms - elapsed;
        }
        auto queue = current_queue();
        std::unique_lock lock(queue->mutex);
        if (!queue->sent.empty() || !queue->posted.empty() || queue->quit)
            continue;
        wait_for_change(*queue, lock, {}, 0, 0, remaining);
    }
}

bool peek_message(Message& out, Window filter, MessageId first, MessageId last, Peek peek)
{
    return retrieve(out, filter, first, last, peek, false);
}

LResult dispatch_message(const Message& m)
{
    if (m.window == no_window)
        return 0;
    auto procedure = procedure_of(m.window);
    return procedure ? (*procedure)(m.window, m.message, m.wparam, m.lparam) : 0;
}

bool set_timer(Window window, std::uintptr_t id, std::uint32_t interval_ms)
{
    auto queue = queue_of_window(window);
    if (!queue || queue->id != current_thread_id())
        return false;
    interval_ms = std::max<std::uint32_t>(interval_ms, 1);
    std::uint32_t due = tick_count() + interval_ms;
    std::lock_guard lock(queue->mutex);
    for (auto& t : queue->timers) {
        if (t.window == window && t.id == id) {
            t.interval_ms = interval_ms;
            t.due_tick = due;
            return true;
        }
    }
    queue->timers.push_back({ window, id, interval_ms, due });
    return true;
}

bool kill_timer(Window window, std::uintptr_t id)
{
    auto queue = current_queue();
    std::lock_guard lock(queue->mutex);
    auto it = std::find_if(queue->timers.begin(), queue->timers.end(),
        [&](const QueueTimer& t) { return t.window == window && t.id == id; });
    if (it == queue->timers.end())
        return false;
    queue->timers.erase(it);
    return true;
}

void clock_moved()
{
    std::vector<std::shared_ptr<ThreadQueue>> queues;
    {
        std::lock_guard lock(state().mutex);
        for (auto& [id, queue] : state().queues)
            queues.push_back(queue);
    }
    for (auto& queue : queues) {
        // Taking the lock orders this after a waiter's look at the clock, so
        // the wake cannot fall between its look and its wait.
        { std::lock_guard lock(queue->mutex); }
        queue->wake();
    }
}

void set_wait_hook(WaitHook* hook)
{
    // A display left in a static slot is destroyed after the main thread's
    // queue: nothing waits any more, and there is no queue to hook.
    if (queue_gone)
        return;
    current_queue()->hook.store(hook);
}

}
