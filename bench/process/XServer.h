#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

typedef struct _XDisplay Display;

// An X server of the benchmark's own (Xvfb, which picks a free display
// itself) and a watch for the top-level windows that processes map on it.
namespace bench {

class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool is_running() const { return m_display != nullptr; }
    // ":N", for the DISPLAY of the programs started on it.
    const std::string& name() const { return m_name; }

    // Drops what happened on the server so far (the windows of a program
    // that has gone), before the next program starts.
    void forget_events();
    // Waits until the process maps a top-level window (one that tells this
    // pid, or tells none) and gives when it did; false after the timeout.
    bool wait_for_map(pid_t pid, std::chrono::steady_clock::time_point& mapped, std::chrono::seconds timeout);

private:
    pid_t m_server = 0;
    std::string m_name;
    Display* m_display = nullptr;
};

}
