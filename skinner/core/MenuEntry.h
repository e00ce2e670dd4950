#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skinner {

class Listener;

// One entry of a menu bar or a menu: a command, or a sub-menu when it has
// children. A value, copied freely; the owner is not owned.
struct MenuEntry {
    MenuEntry() = default;
    MenuEntry(std::u16string_view id, std::u16string_view text)
        : id(id)
        , text(text)
    {
    }

    std::vector<MenuEntry> children;
    // The name the command comes back under, as a rule the owning control's id.
    std::u16string id;
    // Receives the command; null until set.
    Listener* owner = nullptr;
    // "&" characters are dropped before the text reaches the menu bar.
    std::u16string text;
    // Shown after a tab in pop-up menus.
    std::u16string shortcut;
    bool enabled = true;
    bool separator_after = false;
    bool checked = false;
    // Index into the menu bar's image strip; -1 for none.
    std::int32_t image = -1;
};

}
