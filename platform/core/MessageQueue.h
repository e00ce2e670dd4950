#pragma once

#include "platform/core/Message.h"

#include <cstdint>
#include <type_traits>
#include <optional>

// Per-thread message queues, for the threads of current_thread_id() (platform/core/Thread.h). A thread's queue is
// made by its first queue call (a peek is the usual way to make one before other threads post to it).
//
// Retrieval order: messages sent from other threads (handled inside get and peek), then
// posted messages in order, then the quit request, then a paint message while a window of
// the thread has an invalid area (platform/ui/Paint.h), then one timer message per due timer.
namespace platform {

// Never block; fail when the target window or thread (or its queue) is gone.
bool post_message(Window, MessageId, WParam = 0, LParam = 0);
bool post_thread_message(ThreadId, MessageId, WParam = 0, LParam = 0);
// Makes this thread's get return false once its posted messages are taken.
void post_quit_message(int exit_code);

// The same for a message that carries a pointer (platform/core/Message.h).
template<typename T, Carrier carrier>
bool post_message(Window window, PointerMessage<T, carrier> message, std::type_identity_t<T>* pointer)
{
    return post_message(window, message.id, message.wparam(pointer), message.lparam(pointer));
}

template<typename T, Carrier carrier>
bool post_thread_message(ThreadId thread, PointerMessage<T, carrier> message, std::type_identity_t<T>* pointer)
{
    return post_thread_message(thread, message.id, message.wparam(pointer), message.lparam(pointer));
}

// Makes the calling thread's queue, so that nothing posted to the thread from
// now on is lost, and returns the thread's id to post to.
ThreadId start_message_queue();

// On the owning thread the procedure is called directly; from another thread the call
// waits until the owner has handled it (serving messages sent to this thread meanwhile).
// 0 when the window is gone.
LResult send_message(Window, MessageId, WParam = 0, LParam = 0);
// As send_message; nullopt when the window is gone or vanished before handling it.
std::optional<LResult> send_message_checked(Window, MessageId, WParam = 0, LParam = 0);

// Window filter: no_window takes every message of the thread; a window only its own.
// A range of 0, 0 takes every message. Skipped messages keep their order.
// get blocks and returns false for the quit message (its wparam holds the exit code).
bool get_message(Message&, Window filter = {}, MessageId first = 0, MessageId last = 0);
enum class Peek { keep, remove };
bool peek_message(Message&, Window filter = {}, MessageId first = 0, MessageId last = 0, Peek = Peek::remove);
// Waits until a message can be had (any kind, paint and due timers included) or the
// timeout passes; false on the timeout. Leaves the message in the queue.
bool wait_message(std::optional<std::uint32_t> timeout_ms = std::nullopt);
// Calls the message's window procedure; 0 for thread messages and gone windows.
LResult dispatch_message(const Message&);

// Repeating timer of the window (owned by this thread) on the program's clock
// (platform/core/Clock.h): its messages carry the id in wparam. Setting an existing id
// restarts it. Intervals below 1 ms count as 1 ms.
bool set_timer(Window, std::uintptr_t id, std::uint32_t interval_ms);
bool kill_timer(Window, std::uintptr_t id);

// What a thread's wait does when its queue is empty: a window system replaces it so the
// wait also wakes for its input, which it turns into posted messages.
class WaitHook {
public:
    virtual ~WaitHook() = default;
    // Wait until input arrives, wake() is called or the timeout (when given) passes.
    virtual void wait(std::optional<std::uint32_t> timeout_ms) = 0;
    // From any thread; must not be lost when it comes before wait().
    virtual void wake() = 0;
};

// For the calling thread; null restores the plain wait.
void set_wait_hook(WaitHook*);

}
