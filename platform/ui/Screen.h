#pragma once

#include "platform/core/Message.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Display.h"

// The device screen: its metrics, the shell's bars that the platform paints
// over the windows (a title bar at the top with the foreground window's title
// and, when it asked for one, an OK button; a bar of the same height at the
// bottom, where a window's menu bar goes), full-screen mode and display power.
// GUI thread only.
namespace platform {

Size screen_size();
std::int32_t screen_dpi();
// 26 pixels at 96 dpi, scaled with the dpi (52 at 192); the Smartphone
// shell's bars follow the screen's width.
std::int32_t bar_height();
// The Smartphone shell's bar height for a screen width; 0 for a width it has none for.
std::int32_t smartphone_bar_height(std::int32_t screen_width);
Rect title_bar_rect();
Rect bottom_bar_rect();
// The area between the bars, or the whole screen while they are hidden.
Rect work_area();
// False while the foreground window is full screen.
bool bars_shown();

// Full-screen flags (their platform numbers): hiding the task bar hides both
// bars while the window is foreground; showing it brings them back.
namespace shfs {
inline constexpr std::uint32_t show_task_bar = 0x0001;
inline constexpr std::uint32_t hide_task_bar = 0x0002;
inline constexpr std::uint32_t show_input_button = 0x0004;
inline constexpr std::uint32_t hide_input_button = 0x0008;
inline constexpr std::uint32_t show_start_icon = 0x0010;
inline constexpr std::uint32_t hide_start_icon = 0x0020;
}
bool set_full_screen(Window, std::uint32_t flags);

// The title bar's OK button while the window is foreground: a tap on it sends
// the window msg::command with wparam id_ok (1).
bool show_ok_button(Window, bool show);

// The input panel: there is no on-screen keyboard; the preference is kept and
// the panel always reports itself lowered.
void set_input_panel_preference(bool raised);
bool input_panel_preference();
bool input_panel_raised();

// Off presents a black screen until it is switched on; drawing and input go on.
void set_display_on(bool on);
bool is_display_on();

// Paints the bars when they changed and gives the display the changed area.
// The display's wait hook calls it when the queue is idle; tests may too.
void present_screen();
// What the windows drew (the bars included), whether or not the display is on.
const Bitmap& screen_bitmap();

}
