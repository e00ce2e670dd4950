#pragma once

// What the window system above the message layer does as windows come and go
// and their messages are taken. The window system (platform/ui) installs it
// when it is linked; without one a window has no place on a screen: nothing is
// invalidated, painted, activated or focused, and no pointer shows.

#include "platform/core/Cursor.h"
#include "platform/core/Geometry.h"
#include "platform/core/Message.h"

namespace platform::detail {

struct WindowSystem {
    // Where a top-level window goes when its place is left to the default.
    Rect (*work_area)() = nullptr;
    // A paint message for a window of this thread; runs with no lock held.
    bool (*take_paint)(Window filter, Message& out) = nullptr;
    void (*window_created)(Window) = nullptr;
    // After its owned windows went, before the destroy messages: capture,
    // focus and activation are given up, what the window covered is invalidated.
    void (*window_destroying)(Window) = nullptr;
    // The default procedure's answers to paint (validates) and activate.
    void (*paint)(Window) = nullptr;
    void (*set_focus)(Window) = nullptr;
    // The display that shows the pointer (platform/core/Cursor.h): its serial, and
    // showing a shape on it.
    std::uint64_t (*display_serial)() = nullptr;
    void (*show_cursor)(CursorShape) = nullptr;
};

// Before any window exists; the last installation stays.
void install_window_system(const WindowSystem&);
const WindowSystem& window_system();

}
