#pragma once

#include "platform/core/Message.h"

#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Window classes and windows. A window belongs to the thread that created it: its
// messages go to that thread's queue and its procedure runs only there.
namespace platform {

using WindowProc = std::function<LResult(Window, MessageId, WParam, LParam)>;

// Window style bits (their platform numbers). A window with ws::child and a
// parent lives inside the parent's client area; any other window is top-level
// and its parent is its owner.
namespace ws {
inline constexpr std::uint32_t popup = 0x80000000;
inline constexpr std::uint32_t child = 0x40000000;
inline constexpr std::uint32_t visible = 0x10000000;
inline constexpr std::uint32_t disabled = 0x08000000;
inline constexpr std::uint32_t clip_siblings = 0x04000000; // always in effect
inline constexpr std::uint32_t clip_children = 0x02000000;
inline constexpr std::uint32_t border = 0x00800000;
inline constexpr std::uint32_t sys_menu = 0x00080000;
inline constexpr std::uint32_t group = 0x00020000;
inline constexpr std::uint32_t tab_stop = 0x00010000;
}

// Class style bits.
namespace cs {
inline constexpr std::uint32_t vertical_redraw = 0x0001;
inline constexpr std::uint32_t horizontal_redraw = 0x0002;
inline constexpr std::uint32_t double_clicks = 0x0008; // a quick second press comes as a double click
}

// The coordinate or extent that asks for the default placement.
inline constexpr std::int32_t use_default = INT32_MIN;

struct WindowClass {
    std::u16string name; // compared without regard to ASCII case
    WindowProc procedure; // empty: the default procedure
    // Top-level windows of the class can be found and sent copy-data and command
    // messages by other processes of this user (see RemoteWindow.h).
    bool reachable_from_other_processes = false;
    std::uint32_t style = 0; // cs bits
};

// False when a class of that name exists already (the first registration stays).
// "STATIC" exists from the start: a plain window with the default procedure;
// so does the shell's single-line edit box, "EDIT" (platform/ui/EditBox.h), wherever
// the window system is linked.
bool register_window_class(const WindowClass&);

struct WindowParams {
    std::u16string class_name;
    std::u16string title;
    std::uint32_t style = 0;
    Window parent {}; // owner or parent; no_window for a top-level window
    std::uint32_t ex_style = 0;
    // Screen coordinates for a top-level window, the parent's client
    // coordinates for a child. A top-level window with x or width use_default
    // takes the work area's position or size (platform/ui/Screen.h); for a
    // child they count as 0.
    std::int32_t x = use_default;
    std::int32_t y = 0;
    std::int32_t width = use_default;
    std::int32_t height = 0;
};

// no_window when the class is unknown or the parent is not a window.
Window create_window(const WindowParams&);
Window create_window(std::u16string_view class_name, Window parent = {});
// Destroys the windows it owns first, gives up the capture (533), the focus (8) and the
// activation (6) it holds, sends the destroy message (2) to the window and then to its
// children, then drops them with their procedures, timers and queued messages. Only the
// owning thread may destroy it.
bool destroy_window(Window);

bool is_window(Window);
std::u16string window_class_name(Window);
std::u16string window_title(Window);
Window window_parent(Window);
std::uint32_t window_style(Window);
void set_window_style(Window, std::uint32_t style);
ThreadId window_thread(Window);
// Top-level windows of this process, in creation order (see also
// top_level_windows_by_z_order in platform/ui/WindowManager.h).
std::vector<Window> top_level_windows();

// The procedure slot. Replacing it returns the previous procedure, which the new one may
// chain to. A procedure replaced or dropped while it runs stays alive until it returns.
WindowProc window_procedure(Window);
WindowProc set_window_procedure(Window, WindowProc);
// What a window does with a message nobody handled: paint (15) validates the window,
// close (16) destroys it, activate (6) gives it the focus; anything else gives 0.
LResult default_window_procedure(Window, MessageId, WParam, LParam);

}
