#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Program resources: data compiled into the program (strings, menus, menu-bar
// templates, pictures such as the icon and the menu bar's image strips),
// looked up by number. The application fills the program's table at start-up;
// tests make tables of their own. A second entry of the same kind and number
// replaces the first. GUI thread only.
namespace platform {

// One item of a menu template: a command, a separator, or a sub-menu (an item
// with children). flags are the menu item flags of platform/ui/Menu.h
// (greyed, checked, separator).
struct MenuTemplateItem {
    std::u16string text;
    std::uint32_t command = 0;
    std::uint32_t flags = 0;
    std::vector<MenuTemplateItem> children;
};

// What the menu bar's template says of one button. The text is the string
// resource string_id when that is not 0, else text. sub_menu is the position
// of the drop-down menu among the items of the template's menu, or
// no_sub_menu.
struct MenuBarTemplateButton {
    static constexpr std::int32_t no_sub_menu = 0xFFFF;

    std::int32_t image = -2; // -2: no image
    std::int32_t command = 0;
    std::uint8_t state = 0;
    std::uint8_t style = 0;
    std::uint32_t string_id = 0;
    std::u16string text;
    std::int32_t sub_menu = no_sub_menu;
};

// The initial shape of a menu bar: its menu resource (the source of the
// drop-down menus; 0 for none) and its buttons.
struct MenuBarTemplate {
    std::uint32_t menu_id = 0;
    std::vector<MenuBarTemplateButton> buttons;
};

class Resources {
public:
    void add_string(std::uint32_t id, std::u16string text);
    void add_menu(std::uint32_t id, std::vector<MenuTemplateItem> items);
    void add_menu_bar(std::uint32_t id, MenuBarTemplate);
    // A picture file's bytes (BMP, GIF or JPEG): the icon, image strips.
    void add_picture(std::uint32_t id, std::vector<std::uint8_t> bytes);

    // Null or nullopt when there is no entry of the kind and number.
    std::optional<std::u16string_view> string(std::uint32_t id) const;
    const std::vector<MenuTemplateItem>* menu(std::uint32_t id) const;
    const MenuBarTemplate* menu_bar(std::uint32_t id) const;
    std::optional<std::span<const std::uint8_t>> picture(std::uint32_t id) const;

private:
    std::map<std::uint32_t, std::u16string> m_strings;
    std::map<std::uint32_t, std::vector<MenuTemplateItem>> m_menus;
    std::map<std::uint32_t, MenuBarTemplate> m_menu_bars;
    std::map<std::uint32_t, std::vector<std::uint8_t>> m_pictures;
};

// The program's own table (empty until the application fills it).
Resources& program_resources();

}
