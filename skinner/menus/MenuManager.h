#pragma once

#include "skinner/core/MenuBarItem.h"

#include <vector>

namespace skinner {

class Form;
struct MenuEntry;

// A form's menu list: the things that put entries on its menu bar, ordered
// by their command ids. Every change asks the form to rebuild its bar.
class MenuManager {
public:
    // Everything that puts an entry on a form's menu.
    using Item = MenuBarItem;

    explicit MenuManager(Form& form);
    MenuManager(const MenuManager&) = delete;
    MenuManager& operator=(const MenuManager&) = delete;

    // An item already listed is not listed twice.
    void add(Item& item);
    void remove(Item& item);
    // Marks the form's bar out of date.
    void update();
    // The item whose entry has the given entry's id fills it (its owner's
    // on_build_menu); entries of the tree without an owner get that owner.
    void fill(MenuEntry& entry) const;
    // Asks for a separator after the entry's last child, when it has one.
    static void mark_last_separator(MenuEntry& entry);

    const std::vector<Item*>& items() const { return m_items; }
    Form& form() const { return m_form; }

private:
    Form& m_form;
    std::vector<Item*> m_items;
};

}
