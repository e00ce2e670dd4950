#include "skinner/menus/MenuManager.h"

#include "skinner/core/Control.h"
#include "skinner/core/Form.h"
#include "skinner/core/MenuEntry.h"

#include <algorithm>

namespace skinner {

namespace {

void give_owner(MenuEntry& entry, Listener* owner)
{
    if (!entry.owner)
        entry.owner = owner;
    for (MenuEntry& child : entry.children)
        give_owner(child, owner);
}

}

MenuManager::MenuManager(Form& form)
    : m_form(form)
{
}

void MenuManager::add(Item& item)
{
    if (std::ranges::find(m_items, &item) == m_items.end()) {
        m_items.push_back(&item);
        std::ranges::stable_sort(
            m_items, [](Item* a, Item* b) { return a->get_command_id() < b->get_command_id(); });
    }
    update();
}

void MenuManager::remove(Item& item)
{
    std::erase(m_items, &item);
    update();
}

void MenuManager::update()
{
    m_form.update_menu_main();
}

void MenuManager::fill(MenuEntry& entry) const
{
    for (Item* item : m_items) {
        MenuEntry own;
        item->build_menu_entry(own);
        if (own.id != entry.id)
            continue;
        if (own.owner) {
            // The owner is the control that declared the item.
            if (auto* sender = dynamic_cast<Control*>(own.owner))
                own.owner->on_build_menu(*sender, entry);
            give_owner(entry, own.owner);
        }
        return;
    }
}

void MenuManager::mark_last_separator(MenuEntry& entry)
{
    if (!entry.children.empty())
        entry.children.back().separator_after = true;
}

}
