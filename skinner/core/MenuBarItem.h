#pragma once

#include <cstdint>
#include <string>

namespace skinner {

struct MenuEntry;

// Something that puts an entry on its form's menu bar: a control raises
// on_menu_bar_item to be listed or taken off, and the form's menu list asks
// it for its entry whenever the bar is built.
class MenuBarItem {
public:
    virtual ~MenuBarItem() = default;
    virtual void build_menu_entry(MenuEntry& entry) = 0;
    // Whether its bar button opens a drop-down menu.
    virtual bool has_submenu() = 0;
    // Its placement label.
    virtual std::u16string get_text() = 0;
    // Orders the form's menu list.
    virtual std::int32_t get_command_id() = 0;
};

}
