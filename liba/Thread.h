#pragma once

#include "liba/Nocopy.h"
#include "platform/core/Thread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace liba {

void sleep(std::uint32_t milliseconds);

// The system side of one thread object.
struct ThreadImpl {
    std::thread thread;
    // True from start until the body has returned: the "handle" of the thread.
    std::atomic<bool> running { false };
    std::atomic<platform::ThreadId> id { 0 };
    // Serialises start and join of the owner side.
    std::mutex control;
    std::mutex suspend_mutex;
    std::condition_variable resumed;
    int suspend_count { 0 }; // -1: a resume waits for the next suspend
};

// A worker thread whose subclass supplies the body. The owner stops it with
// request_stop() and join() before destroying it.
class Thread : private Nocopy {
public:
    Thread() = default;
    // Neither stops nor waits for a running body.
    virtual ~Thread();

    // False while a body runs, or when the system refuses a thread.
    bool start();
    // Waits for the body to return; at once when none runs.
    void join();
    // Level -2 (lowest) to 2 (highest), clamped.
    bool set_priority(int level);
    // Only the thread itself may suspend; a resume that came first is kept.
    // Both return the previous suspend count, -1 when refused.
    int suspend();
    int resume();

    void request_stop() { m_stop.store(true, std::memory_order_release); }
    bool is_stop_requested() const { return m_stop.load(std::memory_order_acquire); }
    bool is_running() const { return m_impl.running.load(std::memory_order_acquire); }
    platform::ThreadId thread_id() const { return m_impl.id.load(std::memory_order_acquire); }

protected:
    virtual void run() = 0;

private:
    static void trampoline(Thread* self);
    bool is_caller_the_body() const;

    ThreadImpl m_impl;
    std::atomic<bool> m_stop { false };
};

}
