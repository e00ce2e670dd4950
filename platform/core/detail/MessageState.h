#pragma once

// Shared inside the message layer only.

#include "platform/core/Clock.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/core/Region.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace platform::detail {

struct ThreadQueue;

// A message sent from another thread, waiting for the owner to handle it.
struct SentMessage {
    Message message;
    std::weak_ptr<ThreadQueue> sender;
    std::shared_ptr<void> keep_alive; // what lparam points to, for senders that may give up
    std::function<bool()> abandoned; // asked before handling: the sender no longer waits
    bool done = false; // guarded by the sender's queue mutex
    bool delivered = false;
    LResult result = 0;
};

struct QueueTimer {
    Window window;
    std::uintptr_t id;
    std::uint32_t interval_ms;
    std::uint32_t due_tick; // compared by signed difference: the tick count wraps
};

struct ThreadQueue {
    explicit ThreadQueue(ThreadId id)
        : id(id)
    {
    }

    void wake();

    const ThreadId id;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Message> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::vector<QueueTimer> timers;
    bool quit = false;
    int exit_code = 0;
    bool alive = true;
    std::atomic<WaitHook*> hook { nullptr };
};

struct WindowClassRecord {
    std::u16string name;
    WindowProc procedure;
    bool reachable = false;
    std::uint32_t style = 0;
};

struct WindowRecord {
    std::shared_ptr<WindowClassRecord> window_class;
    std::u16string title;
    std::uint32_t style = 0;
    Window parent {};
    std::shared_ptr<ThreadQueue> queue;
    std::shared_ptr<const WindowProc> procedure;
    // Window manager: the rectangle is in the parent's client coordinates for a
    // child window, else in screen coordinates.
    Rect rect;
    std::uint32_t ex_style = 0;
    std::intptr_t user_data = 0;
    Region invalid; // client coordinates
    bool erase = false;
    bool full_screen = false; // hides the shell's bars while it is foreground
    bool ok_button = false;
};

// Lock order: the state's mutex before any queue's mutex.
struct MessageState {
    std::mutex mutex;
    std::map<std::u16string, std::shared_ptr<WindowClassRecord>> classes; // by folded name
    std::map<std::uint32_t, WindowRecord> windows; // creation order
    std::unordered_map<ThreadId, std::shared_ptr<ThreadQueue>> queues;
    std::uint32_t next_window = 1;
    std::vector<Window> z_order; // every window, topmost first; siblings keep their order here
    Window active {};
    Window focus {};
    Window capture {};
};

// Never destroyed: threads that outlive main may still use it.
MessageState& state();
std::shared_ptr<ThreadQueue> current_queue();
std::u16string fold_case(std::u16string_view);

// Called with no lock held; the owner has left the state. Frees the thread's windows.
void drop_windows_of(const std::shared_ptr<ThreadQueue>&);
// Sends from a thread that may give up; keep_alive holds what lparam points to. While the
// message waits for its window's thread, abandoned (when given) is asked every 50 ms; once it
// says so the message is taken back unhandled and nothing is returned. One the window's thread
// has begun is waited for.
std::optional<LResult> send_keeping(Window, MessageId, WParam, LParam, std::shared_ptr<void> keep_alive,
    const std::function<bool()>& abandoned = {});
// The first top-level window of the class, in creation order.
Window first_top_level_window(std::u16string_view class_name);

// Pre-order list of the window's children, deepest last.
std::vector<Window> descendants_of(Window);

// The cross-process endpoint of a reachable class, while it has top-level windows here.
void reachable_window_created(const std::u16string& class_name);
void reachable_window_destroyed(const std::u16string& class_name);

}
