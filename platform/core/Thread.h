#pragma once

#include <cstdint>

// What the threads of the program need from the system beyond std::thread.
namespace platform {

using ThreadId = std::uint32_t;

// The kernel's id of the calling thread; never 0.
ThreadId current_thread_id();

// Priorities on the handheld's scale, 1 (highest) to 5 (lowest), 3 normal.
// Best effort: a raise the system refuses to an unprivileged user still
// counts as success. False when the thread is gone.
bool set_thread_priority(ThreadId thread, int priority);

void sleep_ms(std::uint32_t milliseconds);

}
