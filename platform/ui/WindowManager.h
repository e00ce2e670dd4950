#pragma once

#include "platform/core/Window.h"
#include "platform/core/Geometry.h"

#include <optional>
#include <vector>

// The window manager over the windows of platform/core/Window.h. Everything here is
// for the GUI thread (the thread that owns the windows). A window has no frame:
// its client area is its whole rectangle. Failures (a gone window, a window of
// another thread) change nothing and answer false, no_window or an empty value.
//
// Notifications are sent (the procedure runs before the call returns):
//   activation: msg::activate (6) to the window losing it, wparam
//     wa::inactive and lparam the gainer, then to the one gaining it, wparam
//     wa::active or wa::click_active and lparam the loser;
//   focus: msg::kill_focus (8) to the loser (wparam the gainer), then
//     msg::set_focus (7) to the gainer (wparam the loser);
//   capture: msg::capture_changed (533) to the loser (lparam the new holder);
//   size: msg::size (5) when a window's size changes, wparam 0 and lparam
//     width | height << 16.
// Hiding, moving, raising or destroying a window invalidates what that
// uncovers in the windows below (platform/ui/Paint.h).
namespace platform {

// Activation states in the activate message's wparam.
namespace wa {
inline constexpr WParam inactive = 0;
inline constexpr WParam active = 1;
inline constexpr WParam click_active = 2; // activated by a pen press
}

// show_window commands (their platform numbers).
namespace sw {
inline constexpr int hide = 0;
inline constexpr int show_normal = 1; // shows and activates
inline constexpr int show_no_activate = 4;
inline constexpr int show = 5; // shows and activates
inline constexpr int show_na = 8; // shows, activation unchanged
}

// set_window_pos flags (their platform numbers).
namespace swp {
inline constexpr std::uint32_t no_size = 0x0001;
inline constexpr std::uint32_t no_move = 0x0002;
inline constexpr std::uint32_t no_z_order = 0x0004;
inline constexpr std::uint32_t no_redraw = 0x0008;
inline constexpr std::uint32_t no_activate = 0x0010;
inline constexpr std::uint32_t frame_changed = 0x0020; // repaints the whole window
inline constexpr std::uint32_t show_window = 0x0040;
inline constexpr std::uint32_t hide_window = 0x0080;
inline constexpr std::uint32_t no_owner_z_order = 0x0200;
}

// set_window_pos places: above all siblings or below them.
inline constexpr Window z_top = no_window;
inline constexpr Window z_bottom = Window { 0xFFFFFFFF };

// The size message's wparam.
inline constexpr WParam size_restored = 0;
inline constexpr WParam size_minimized = 1;

// The command id of the title bar's OK button (msg::command's wparam).
inline constexpr WParam id_ok = 1;

// Geometry. window_rect is in screen coordinates; client_rect is (0, 0, width, height).
Rect window_rect(Window);
Rect client_rect(Window);
Point client_to_screen(Window, Point);
Point screen_to_client(Window, Point);
// Repaint (when asked) invalidates the window; sends msg::size when the size changed.
bool move_window(Window, const Rect& rect_in_parent, bool repaint = true);
// The platform's window placement: position, size, z-order and visibility by flags.
bool set_window_pos(Window, Window insert_after, const Rect& rect_in_parent, std::uint32_t flags);

// Visibility, enabling, text.
// Answers whether the window was visible before.
bool show_window(Window, int command);
// The window and every parent visible.
bool is_window_visible(Window);
// Answers whether the window was disabled before. Disabled windows get no pen
// or key input; disabling the focus window takes the focus away.
bool enable_window(Window, bool enable);
bool is_window_enabled(Window);
bool set_window_text(Window, std::u16string_view);
std::u16string window_text(Window);

// Family. The parent of a top-level window is its owner.
// Makes the window a child of the parent (or top-level without one) at the same
// numbers of its rectangle; answers the previous parent.
Window set_parent(Window, Window parent);
// Owned windows stay above their owner when it is raised.
Window top_level_ancestor(Window);
std::vector<Window> child_windows(Window); // direct children, topmost first
std::vector<Window> top_level_windows_by_z_order(); // topmost first
// The deepest visible window at the screen point, or no_window.
Window window_from_point(Point screen);
// Raises the window (with the windows it owns) above its siblings.
bool bring_window_to_top(Window);

// Extended style and user data, the other window longs.
std::uint32_t window_ex_style(Window);
void set_window_ex_style(Window, std::uint32_t);
std::intptr_t window_user_data(Window);
void set_window_user_data(Window, std::intptr_t);

// Activation (of top-level windows; a child activates its top-level ancestor;
// a window with ws::child made top-level by set_parent is never activated).
// The active window is the foreground window: this program owns the screen.
Window set_active_window(Window);
Window active_window();
bool set_foreground_window(Window);
Window foreground_window();

// Focus: answers the previous focus window. Focusing a window of an inactive
// top-level window activates that first.
Window set_focus(Window);
Window focus_window();

// Capture: every pen message goes to the holder, in its client coordinates.
Window set_capture(Window);
bool release_capture();
Window capture_window();

}
