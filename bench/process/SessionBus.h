#pragma once

#include <string>
#include <sys/types.h>

// A desktop bus of the benchmark's own, as a desktop session has one: without
// it a program that asks for the bus starts one itself (or waits for one),
// which a user's start never pays.
namespace bench {

class SessionBus {
public:
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // For DBUS_SESSION_BUS_ADDRESS; empty when the bus did not start.
    const std::string& address() const { return m_address; }

private:
    pid_t m_daemon = 0;
    std::string m_address;
};

// Starts argv with its standard output on a pipe and reads the first line it
// writes there (up to 20 s); the pid, or 0 when it did not start.
pid_t start_reading_line(const char* const* argv, int fd, std::string& line);

}
