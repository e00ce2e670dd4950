#pragma once

#include "platform/core/Message.h"
#include "platform/core/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Pop-up menus: lists of items (commands, separators, sub-menus) that a
// window shows with track_popup_menu. A menu lives until destroy_menu, which
// destroys its sub-menus with it; handles are never reused, so a stale one
// simply fails. GUI thread only.
namespace platform {

class Resources;

enum class Menu : std::uint32_t {};
inline constexpr Menu no_menu {};

// Item flags (their platform numbers). by_position names an item by its
// position instead of its command.
namespace mf {
inline constexpr std::uint32_t string = 0x0000;
inline constexpr std::uint32_t enabled = 0x0000;
inline constexpr std::uint32_t unchecked = 0x0000;
inline constexpr std::uint32_t by_command = 0x0000;
inline constexpr std::uint32_t grayed = 0x0001;
inline constexpr std::uint32_t disabled = 0x0002;
inline constexpr std::uint32_t checked = 0x0008;
inline constexpr std::uint32_t popup = 0x0010;
inline constexpr std::uint32_t by_position = 0x0400;
inline constexpr std::uint32_t separator = 0x0800;
}

// Tracking flags (their platform numbers).
namespace tpm {
inline constexpr std::uint32_t left_align = 0x0000;
inline constexpr std::uint32_t center_align = 0x0004;
inline constexpr std::uint32_t right_align = 0x0008;
inline constexpr std::uint32_t top_align = 0x0000;
inline constexpr std::uint32_t vcenter_align = 0x0010;
inline constexpr std::uint32_t bottom_align = 0x0020;
inline constexpr std::uint32_t return_command = 0x0100;
}

// What check_menu_item and enable_menu_item answer for a missing item.
inline constexpr std::uint32_t no_menu_item = 0xFFFFFFFF;

Menu create_popup_menu();
bool is_menu(Menu);
// Destroys the menu and its sub-menus; fails while the menu is being shown.
bool destroy_menu(Menu);

// Appends a command (flags: grayed, disabled, checked; separator appends a
// separator and ignores command and text). A text may hold a tab: what
// follows it is shown right-aligned (a shortcut).
bool append_menu(Menu, std::uint32_t flags, std::uint32_t command, std::u16string_view text);
// Appends a sub-menu (mf::popup is implied); the menu takes it over. Fails
// when the sub-menu already belongs to a menu or would hold the menu itself.
bool append_menu(Menu, std::uint32_t flags, Menu sub_menu, std::u16string_view text);
// Changes the item's flags, command and text (a sub-menu item keeps its
// sub-menu and ignores the command).
bool modify_menu(
    Menu, std::uint32_t item, std::uint32_t flags, std::uint32_t command, std::u16string_view text);
// delete_menu destroys an item's sub-menu; remove_menu detaches it (the
// caller owns it again). Items are named by command (searching sub-menus too)
// or by position.
bool delete_menu(Menu, std::uint32_t item, std::uint32_t flags);
bool remove_menu(Menu, std::uint32_t item, std::uint32_t flags);
// Answer the previous state (mf::checked or mf::grayed / mf::disabled bits),
// or no_menu_item.
std::uint32_t check_menu_item(Menu, std::uint32_t item, std::uint32_t flags);
std::uint32_t enable_menu_item(Menu, std::uint32_t item, std::uint32_t flags);

// -1 when the menu does not exist.
int menu_item_count(Menu);

struct MenuItemInfo {
    std::uint32_t flags = 0; // grayed, disabled, checked, popup, separator
    std::uint32_t command = 0;
    Menu sub_menu = no_menu;
    std::u16string text;
};

std::optional<MenuItemInfo> menu_item(Menu, std::uint32_t item, std::uint32_t flags);
Menu sub_menu(Menu, int position);

// A new menu from the template of that number, or no_menu.
Menu load_menu(const Resources&, std::uint32_t id);

// Shows the menu at the screen point, aligned by the tpm flags and moved to
// stay on the screen (below the title bar while it shows), and runs a modal
// loop until an item is chosen or the menu is dismissed: by a tap outside it,
// Escape on its first level, or the owner losing the capture. Sub-menus open
// beside their item. The owner is sent msg::init_menu_popup (menu,
// position of the item in its parent, 0 for the first level) before each
// level opens; its handler may still change the items. Keys: Up and Down move
// the highlight, Right or Enter opens a sub-menu, Left or Escape closes one,
// Enter or a tap chooses. Greyed items and separators are never chosen.
// An empty menu shows nothing and answers 0 at once.
// With tpm::return_command the chosen command is answered (0 when
// dismissed); otherwise msg::command (the command, 0) is posted to the owner
// and the answer is 1 when an item was chosen. A quit message ends the menu
// and is posted again for the loop outside.
std::uint32_t track_popup_menu(Menu, std::uint32_t flags, Point screen, Window owner);
// Dismisses the menu being tracked, if any.
void end_menu();

// The init_menu_popup message's parameters.
inline WParam init_menu_popup_wparam(Menu m)
{
    return WParam(m);
}

inline Menu init_menu_popup_menu(WParam w)
{
    return Menu(std::uint32_t(w));
}

inline std::uint16_t init_menu_popup_item(LParam l)
{
    return std::uint16_t(l & 0xFFFF);
}

}
