#pragma once

#include "platform/Message.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Window classes and windows. A window belongs to the thread that created it: its
// messages go to that thread's queue and its procedure runs only there.
namespace platform {

using WindowProc = std::function<LResult(Window, MessageId, WParam, LParam)>;

struct WindowClass {
    std::u16string name; // compared without regard to ASCII case
    WindowProc procedure; // empty: the default procedure
    // Top-level windows of the class can be found and sent copy-data and command
    // messages by other processes of this user (see RemoteWindow.h).
    bool reachable_from_other_processes = false;
};

// False when a class of that name exists already (the first registration stays).
bool register_window_class(const WindowClass&);

struct WindowParams {
    std::u16string class_name;
    std::u16string title;
    std::uint32_t style = 0;
    Window parent {}; // owner or parent; no_window for a top-level window
};

// no_window when the class is unknown or the parent is not a window.
Window create_window(const WindowParams&);
Window create_window(std::u16string_view class_name, Window parent = {});
// Sends the destroy message (2) to the window's procedure, then drops the window, its
// procedure and its timers. Only the owning thread may destroy it.
bool destroy_window(Window);

bool is_window(Window);
std::u16string window_class_name(Window);
std::u16string window_title(Window);
Window window_parent(Window);
std::uint32_t window_style(Window);
void set_window_style(Window, std::uint32_t style);
ThreadId window_thread(Window);
// Top-level windows of this process, in creation order.
std::vector<Window> top_level_windows();

// The procedure slot. Replacing it returns the previous procedure, which the new one may
// chain to. A procedure replaced or dropped while it runs stays alive until it returns.
WindowProc window_procedure(Window);
WindowProc set_window_procedure(Window, WindowProc);
// What a window does with a message nobody handled: nothing, result 0.
LResult default_window_procedure(Window, MessageId, WParam, LParam);

}
