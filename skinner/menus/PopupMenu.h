#pragma once

#include "platform/core/Message.h"
#include "platform/core/Geometry.h"
#include "platform/ui/Menu.h"

#include <string>
#include <vector>

namespace skinner {

class Form;
class Listener;
struct MenuEntry;

// Platform command numbers of a built menu, mapped back to entries: index =
// command number, value = the entry's id (and, when kept, its owner).
struct MenuCommands {
    std::vector<std::u16string> ids;
    std::vector<Listener*> owners;
    bool keep_owners = true;
};

// Appends the entry's children to the menu, in order: a leaf takes the next
// command number (the size of the table), a sub-menu takes none; a separator
// follows an entry that asks for one unless it is the last of its menu.
void fill_menu(const MenuEntry& entry, platform::Menu menu, MenuCommands& commands);

// How a pop-up menu lies against its point.
enum class MenuAlignH { left = 0, center = 1, right = 2 };
enum class MenuAlignV { top = 0, center = 1, bottom = 2 };

// Shows the entry's children as a pop-up menu at the point (client
// coordinates of the window) and waits until it closes. Answers the chosen
// entry's id, or an empty id when the menu was dismissed; the chosen entry's
// owner goes to *owner (null when dismissed) when asked for.
std::u16string show_popup_menu(platform::Window window, const MenuEntry& entry, platform::Point point,
    MenuAlignH horizontal = MenuAlignH::left, MenuAlignV vertical = MenuAlignV::top, Listener** owner = nullptr);
// The same on the form's window.
std::u16string show_popup_menu(const Form& form, const MenuEntry& entry, platform::Point point,
    MenuAlignH horizontal = MenuAlignH::left, MenuAlignV vertical = MenuAlignV::top, Listener** owner = nullptr);

}
