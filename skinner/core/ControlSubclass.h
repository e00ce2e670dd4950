#pragma once

#include "platform/core/Message.h"

#include <cstddef>
#include <optional>

namespace skinner {

// A hook on the messages of a native window that the object does not own.
// Any number of hooks may watch one window: each sees every message, the last
// hooked first, and each may take a message over; the window's own procedure
// runs only when none did. The destroy message unhooks every hook of the
// window, so an object that outlives its window finds window() empty.
// GUI thread only.
class ControlSubclass {
public:
    // What a hook is handed with each message. Clearing pass_on takes the
    // message over: the window's own procedure is then not called, and the
    // hook's result is the message's result.
    struct MessageContext {
        bool pass_on = true;
        platform::WParam wparam = 0;
        platform::LParam lparam = 0;
    };

    ControlSubclass() = default;
    ControlSubclass(const ControlSubclass&) = delete;
    ControlSubclass& operator=(const ControlSubclass&) = delete;
    virtual ~ControlSubclass();

    // Hooks the window (leaving any window hooked before); answers the hook's
    // place among the window's hooks, or nullopt when the window does not exist.
    std::optional<std::size_t> subclass(platform::Window);
    // Leaves the window; the last hook to leave puts its own procedure back.
    void unsubclass();

    platform::Window window() const { return m_window; }

    virtual platform::LResult window_proc(
        platform::MessageId, platform::WParam, platform::LParam, MessageContext&)
        = 0;

private:
    platform::Window m_window {};
};

}
