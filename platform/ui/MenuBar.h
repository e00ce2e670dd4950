#pragma once

#include "platform/core/Message.h"
#include "platform/ui/Menu.h"

#include <cstdint>
#include <optional>
#include <string>

// The menu bar of a window: a row of buttons in the shell's bottom bar
// (bar_height() high, the screen's width), shown while its window is the
// foreground window and the bars show (not in full-screen mode). A tap on a
// button posts msg::command (the button's command, the bar) to the window; a
// button with a drop-down menu sends msg::init_menu_popup (the menu, the
// button's command) to the window, then shows the menu above the button, and
// a choice posts msg::command (the item's command, 0). Disabled buttons and
// greyed items send nothing.
//
// The bar is a window: the window that made it talks to it with the toolbar
// messages below (their platform numbers), best through the typed helpers,
// and may show or hide it; destroy_window removes it. GUI thread only.
namespace platform {

class Resources;

struct MenuBarInfo {
    Window parent {}; // the window the bar belongs to
    std::uint32_t template_id = 0; // a menu-bar template of the resources
    const Resources* resources = nullptr; // null: program_resources()
    Window bar {}; // set by create_menu_bar
};

// False (and no bar) when the parent is not a window or the template is missing.
bool create_menu_bar(MenuBarInfo&);

// Toolbar messages. wparam and lparam as the helpers below put them.
namespace tb {
inline constexpr MessageId enable_button = 0x401; // command, enable: true when found
inline constexpr MessageId check_button = 0x402; // command, check
inline constexpr MessageId hide_button = 0x404; // command, hide
inline constexpr MessageId is_button_enabled = 0x409;
inline constexpr MessageId is_button_checked = 0x40A;
inline constexpr MessageId delete_button = 0x416; // index
inline constexpr MessageId get_button = 0x417; // index, ToolbarButton out
inline constexpr MessageId button_count = 0x418;
inline constexpr MessageId command_to_index = 0x419; // command: the index or -1
inline constexpr MessageId get_item_rect = 0x41D; // index, Rect out (client coordinates): true when shown
inline constexpr MessageId get_button_info = 0x43F; // command, ToolbarButtonInfo in/out: the index or -1
inline constexpr MessageId set_button_info = 0x440; // command, ToolbarButtonInfo
inline constexpr MessageId insert_button = 0x443; // index, ToolbarButton
}

namespace tbstate {
inline constexpr std::uint8_t checked = 0x01;
inline constexpr std::uint8_t pressed = 0x02;
inline constexpr std::uint8_t enabled = 0x04;
inline constexpr std::uint8_t hidden = 0x08;
}

namespace tbstyle {
inline constexpr std::uint8_t button = 0x00;
inline constexpr std::uint8_t separator = 0x01;
inline constexpr std::uint8_t check = 0x02;
inline constexpr std::uint8_t drop_down = 0x08;
inline constexpr std::uint8_t auto_size = 0x10;
inline constexpr std::uint8_t whole_drop_down = 0x80; // no arrow beside the text
}

// Which fields of a ToolbarButtonInfo count.
namespace tbif {
inline constexpr std::uint32_t image = 0x01;
inline constexpr std::uint32_t text = 0x02;
inline constexpr std::uint32_t state = 0x04;
inline constexpr std::uint32_t style = 0x08;
inline constexpr std::uint32_t menu = 0x10; // the button's data: its drop-down menu
inline constexpr std::uint32_t command = 0x20;
}

inline constexpr std::int32_t no_image = -2;

// One button. A drop_down button with a menu opens it; the bar owns that
// menu and destroys it with the button.
struct ToolbarButton {
    std::int32_t image = no_image; // index into the bar's images
    std::int32_t command = 0;
    std::uint8_t state = tbstate::enabled;
    std::uint8_t style = tbstyle::button;
    Menu menu = no_menu;
    std::u16string text;
};

struct ToolbarButtonInfo {
    std::uint32_t mask = 0;
    std::int32_t command = 0;
    std::int32_t image = no_image;
    std::uint8_t state = 0;
    std::uint8_t style = 0;
    Menu menu = no_menu;
    std::u16string text;
};

inline LParam toolbar_button_param(const ToolbarButton& b)
{
    return LParam(&b);
}

inline const ToolbarButton* toolbar_button_of(LParam l)
{
    return reinterpret_cast<const ToolbarButton*>(l);
}

inline LParam toolbar_button_out_param(ToolbarButton& b)
{
    return LParam(&b);
}

inline ToolbarButton* toolbar_button_out(LParam l)
{
    return reinterpret_cast<ToolbarButton*>(l);
}

inline LParam toolbar_rect_param(Rect& r)
{
    return LParam(&r);
}

inline Rect* toolbar_rect_of(LParam l)
{
    return reinterpret_cast<Rect*>(l);
}

inline LParam toolbar_info_param(ToolbarButtonInfo& i)
{
    return LParam(&i);
}

inline ToolbarButtonInfo* toolbar_info_of(LParam l)
{
    return reinterpret_cast<ToolbarButtonInfo*>(l);
}

int toolbar_button_count(Window bar);
bool toolbar_insert_button(Window bar, int index, const ToolbarButton&);
bool toolbar_delete_button(Window bar, int index);
std::optional<ToolbarButton> toolbar_button(Window bar, int index);
// The button's rectangle on the screen; nullopt for a hidden one.
std::optional<Rect> toolbar_item_rect(Window bar, int index);
bool toolbar_set_button_info(Window bar, std::int32_t command, ToolbarButtonInfo);
bool toolbar_enable_button(Window bar, std::int32_t command, bool enable);
bool toolbar_check_button(Window bar, std::int32_t command, bool check);

// Adds the picture resource as a strip of count images of width x height
// (fewer when the strip is narrower) to the bar's images, magenta pixels
// (0xFF00FF) transparent. Answers the index of the first one, or -1.
int menu_bar_add_bitmap(
    Window bar, const Resources&, std::uint32_t picture_id, int count, int width, int height);

// Key overrides: while the bar's window is foreground, a key given
// shmbof::notify arrives there as msg::hot_key (wparam the key, lparam
// the modifiers | key << 16, with mod::key_up on the release) instead of a key
// message; shmbof::no_default alone swallows the key.
inline constexpr MessageId override_key = 0x593; // key, mask | value << 16

namespace shmbof {
inline constexpr std::uint32_t no_default = 0x1;
inline constexpr std::uint32_t notify = 0x2;
}

bool menu_bar_override_key(Window bar, std::uint32_t key, std::uint32_t mask, std::uint32_t value);

}
