#include "bench/process/XServer.h"

#include "bench/process/SessionBus.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

namespace {

// A window may be gone by the time it is looked at: that is no failure.
int ignore_error(Display*, XErrorEvent*)
{
    return 0;
}

// The pid a window's _NET_WM_PID tells; 0 when it tells none.
pid_t window_pid(Display* display, Window window)
{
    const Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == None)
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    pid_t pid = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data)
            == Success
        && data && count == 1 && format == 32)
        pid = pid_t(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

}

XServer::XServer()
{
    const char* argv[] = { "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr };
    std::string number;
    m_server = start_reading_line(argv, 3, number);
    if (m_server == 0 || number.empty())
        return;
    m_name = ":" + number;
    XSetErrorHandler(ignore_error);
    m_display = XOpenDisplay(m_name.c_str());
    if (m_display)
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
}

XServer::~XServer()
{
    if (m_display)
        XCloseDisplay(m_display);
    if (m_server > 0) {
        kill(m_server, SIGTERM);
        waitpid(m_server, nullptr, 0);
    }
}

void XServer::forget_events()
{
    XSync(m_display, False);
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
    }
}

bool XServer::wait_for_map(pid_t pid, std::chrono::steady_clock::time_point& mapped, std::chrono::seconds timeout)
{
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    const int fd = ConnectionNumber(m_display);
    while (std::chrono::steady_clock::now() < give_up) {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect)
                continue;
            const auto now = std::chrono::steady_clock::now();
            const pid_t owner = window_pid(m_display, event.xmap.window);
            if (owner == 0 || owner == pid) {
                mapped = now;
                return true;
            }
        }
        pollfd ready { fd, POLLIN, 0 };
        poll(&ready, 1, 50);
    }
    return false;
}

}
