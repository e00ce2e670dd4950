#include "skinner/menus/SoftKeyMenu.h"

#include "liba/StringTranslator.h"
#include "skinner/core/Control.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/menus/MenuManager.h"

#include <utility>

namespace skinner {

using liba::literals::operator""_key;

namespace {

void give_owner(MenuEntry& entry, Listener* owner)
{
    if (!entry.owner)
        entry.owner = owner;
    for (MenuEntry& child : entry.children)
        give_owner(child, owner);
}

// A sub-menu item is filled by its owner; nested it stays one entry,
// otherwise its children join the tree, which takes its text when it has none.
void add_item(MenuManager::Item& item, MenuEntry& tree, bool nesting)
{
    MenuEntry entry;
    item.build_menu_entry(entry);
    Listener* owner = entry.owner;
    if (!item.has_submenu()) {
        tree.children.push_back(std::move(entry));
    } else {
        if (auto* sender = dynamic_cast<Control*>(owner))
            owner->on_build_menu(*sender, entry);
        if (nesting) {
            tree.children.push_back(std::move(entry));
        } else {
            for (MenuEntry& child : entry.children)
                tree.children.push_back(std::move(child));
            if (tree.text.empty())
                tree.text = entry.text;
        }
    }
    for (MenuEntry& child : tree.children)
        give_owner(child, owner);
}

// One entry stands for its key; several get the key's generic title.
void finish(MenuEntry& tree, const liba::StringTranslator& translator, std::u16string_view key,
    std::u16string_view fallback)
{
    if (tree.children.size() == 1) {
        MenuEntry only = std::move(tree.children.front());
        tree = std::move(only);
        return;
    }
    if (tree.children.size() > 1 && tree.text.empty())
        tree.text = translator.translate(key, fallback);
}

}

void SoftKeyMenu::fill_left(const MenuManager& items, const liba::StringTranslator& translator, MenuEntry& tree)
{
    for (MenuManager::Item* item : items.items())
        if (item->get_text() == ok_label)
            add_item(*item, tree, false);
    finish(tree, translator, u"menuSoftButtonOk"_key, u"Action");
}

void SoftKeyMenu::fill_right(const MenuManager& items, const liba::StringTranslator& translator, MenuEntry& tree)
{
    for (MenuManager::Item* item : items.items()) {
        const std::u16string label = item->get_text();
        if (label != ok_label && label != menu_label && label != tab_label)
            add_item(*item, tree, true);
    }
    for (MenuManager::Item* item : items.items())
        if (item->get_text() == menu_label)
            add_item(*item, tree, false);
    for (MenuManager::Item* item : items.items())
        if (item->get_text() == tab_label) {
            MenuManager::mark_last_separator(tree);
            add_item(*item, tree, false);
            MenuManager::mark_last_separator(tree);
        }
    finish(tree, translator, u"menuSoftButtonMenu"_key, u"Menu");
}

}
