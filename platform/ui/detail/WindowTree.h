#pragma once

// Shared by the window manager, painting, device contexts and input: queries
// on the window tree made under the message state's lock (the caller holds it).

#include "platform/core/detail/MessageState.h"
#include "platform/ui/Bitmap.h"

namespace platform::detail {

WindowRecord* find_record(MessageState&, Window);
bool is_child(const WindowRecord&);
// The parent of a child window, else no_window (top-level windows share it).
Window container_of(MessageState&, Window);
Point client_origin(MessageState&, Window);
Rect screen_rect(MessageState&, Window);
// The window and every parent have ws::visible.
bool shown(MessageState&, Window);
// What of the window can be seen on the screen (screen coordinates): its
// rectangle within its parents, minus the title bar when shown, minus every
// sibling above it at each level; minus its visible children when asked and it
// has ws::clip_children.
Region visible_region(MessageState&, Window, bool exclude_clipped_children);
// Adds what of the area each window shows to its invalid area (and to the
// desktop's and the bars'); erasing is asked for.
void invalidate_screen(MessageState&, const Region& area);
bool bars_shown(MessageState&);
Window top_level_of(MessageState&, Window);

// The window manager's part in the message layer (platform/core/detail/WindowSystem.h).
bool take_paint(Window filter, Message& out);
void window_created(Window);
void window_destroying(Window);

// Activation by a pen press (wa::click_active); no lock held.
void activate_by_click(Window);

// Screen state shared with the device contexts.
Bitmap& framebuffer();
void screen_touched(const Rect&);
void bars_changed();
void desktop_invalidated(const Region&);
// A screen point on the title bar's OK button, while it shows.
bool ok_button_hit(Point);

}
