#pragma once

// Shared by the pop-up menus and the menu bar only.

#include "platform/ui/Menu.h"

namespace platform::detail {

// track_popup_menu; the menu bar tells the owner of its drop-down menus
// itself, so it asks for no init_menu_popup of the first level.
std::uint32_t track_menu(Menu, std::uint32_t flags, Point screen, Window owner, bool notify_root);
bool menu_is_tracked();

}
