#pragma once

// Shared by the menus and the menu tracker only.

#include "platform/ui/Menu.h"

#include <map>
#include <vector>

namespace platform::detail {

struct MenuItem {
    std::uint32_t flags = 0;
    std::uint32_t command = 0;
    Menu sub_menu = no_menu;
    std::u16string text;
};

struct MenuRecord {
    std::vector<MenuItem> items;
    Menu parent = no_menu; // the menu it is a sub-menu of
};

struct MenuStore {
    MenuRecord* find(Menu);

    std::map<std::uint32_t, MenuRecord> records;
    std::uint32_t next = 1;
    std::vector<Menu> shown; // menus open on the screen now
};

// GUI thread only.
MenuStore& menus();

}
