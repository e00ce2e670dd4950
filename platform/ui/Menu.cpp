#include "platform/ui/Menu.h"

#include "platform/core/Resources.h"
#include "platform/ui/detail/MenuStore.h"

#include <algorithm>
#include <functional>

namespace platform {

using detail::MenuItem;
using detail::MenuRecord;
using detail::menus;

namespace detail {

MenuStore& menus()
{
    static auto* store = new MenuStore;
    return *store;
}

MenuRecord* MenuStore::find(Menu m)
{
    auto it = records.find(std::uint32_t(m));
    return it == records.end() ? nullptr : &it->second;
}

}

namespace {

constexpr std::uint32_t state_bits = mf::grayed | mf::disabled | mf::checked;

// The item named by position, or the first item with the command, searched
// depth first through the sub-menus.
struct Found {
    MenuRecord* menu = nullptr;
    std::size_t index = 0;

    MenuItem* operator->() const { return &menu->items[index]; }

    explicit operator bool() const { return menu != nullptr; }
};

Found find_item(Menu m, std::uint32_t item, std::uint32_t flags)
{
    MenuRecord* r = menus().find(m);
    if (!r)
        return {};
    if (flags & mf::by_position)
        return item < r->items.size() ? Found { r, item } : Found {};
    for (std::size_t i = 0; i < r->items.size(); ++i) {
        MenuItem& it = r->items[i];
        if (it.sub_menu != no_menu) {
            if (Found inner = find_item(it.sub_menu, item, flags))
                return inner;
        } else if (!(it.flags & mf::separator) && it.command == item)
            return { r, i };
    }
    return {};
}

bool contains(Menu outer, Menu inner)
{
    if (outer == inner)
        return true;
    MenuRecord* r = menus().find(outer);
    if (!r)
        return false;
    return std::any_of(r->items.begin(), r->items.end(),
        [&](const MenuItem& i) { return i.sub_menu != no_menu && contains(i.sub_menu, inner); });
}

bool busy(Menu m)
{
    for (Menu shown : menus().shown) {
        if (contains(m, shown) || contains(shown, m))
            return true;
    }
    return false;
}

void destroy_tree(Menu m)
{
    MenuRecord* r = menus().find(m);
    if (!r)
        return;
    std::vector<Menu> subs;
    for (auto& i : r->items) {
        if (i.sub_menu != no_menu)
            subs.push_back(i.sub_menu);
    }
    menus().records.erase(std::uint32_t(m));
    for (Menu s : subs)
        destroy_tree(s);
}

bool take_out(Menu m, std::uint32_t item, std::uint32_t flags, bool destroy_sub_menu)
{
    Found f = find_item(m, item, flags);
    if (!f)
        return false;
    Menu sub = f->sub_menu;
    f.menu->items.erase(f.menu->items.begin() + std::ptrdiff_t(f.index));
    if (sub == no_menu)
        return true;
    if (MenuRecord* s = menus().find(sub))
        s->parent = no_menu;
    if (destroy_sub_menu)
        destroy_tree(sub);
    return true;
}

Menu build(const std::vector<MenuTemplateItem>& items)
{
    Menu m = create_popup_menu();
    for (auto& item : items) {
        if (!item.children.empty() || (item.flags & mf::popup))
            append_menu(m, item.flags & ~mf::popup, build(item.children), item.text);
        else
            append_menu(m, item.flags, item.command, item.text);
    }
    return m;
}

}

Menu create_popup_menu()
{
    Menu m { menus().next++ };
    menus().records.emplace(std::uint32_t(m), MenuRecord {});
    return m;
}

bool is_menu(Menu m)
{
    return menus().find(m) != nullptr;
}

bool destroy_menu(Menu m)
{
    MenuRecord* r = menus().find(m);
    if (!r || busy(m))
        return false;
    if (r->parent != no_menu) {
        if (MenuRecord* p = menus().find(r->parent))
            std::erase_if(p->items, [&](const MenuItem& i) { return i.sub_menu == m; });
    }
    destroy_tree(m);
    return true;
}

bool append_menu(Menu m, std::uint32_t flags, std::uint32_t command, std::u16string_view text)
{
    MenuRecord* r = menus().find(m);
    if (!r)
        return false;
    MenuItem item;
    item.flags = flags & (state_bits | mf::separator);
    if (!(flags & mf::separator)) {
        item.command = command;
        item.text = text;
    }
    r->items.push_back(std::move(item));
    return true;
}

bool append_menu(Menu m, std::uint32_t flags, Menu sub, std::u16string_view text)
{
    MenuRecord* r = menus().find(m);
    MenuRecord* s = menus().find(sub);
    if (!r || !s || s->parent != no_menu || contains(sub, m))
        return false;
    s->parent = m;
    MenuItem item;
    item.flags = (flags & state_bits) | mf::popup;
    item.sub_menu = sub;
    item.text = text;
    r->items.push_back(std::move(item));
    return true;
}

bool modify_menu(
    Menu m, std::uint32_t item, std::uint32_t flags, std::uint32_t command, std::u16string_view text)
{
    Found f = find_item(m, item, flags);
    if (!f)
        return false;
    bool popup = f->sub_menu != no_menu;
    f->flags = (flags & state_bits) | (popup ? mf::popup : flags & mf::separator);
    f->text = (f->flags & mf::separator) ? std::u16string() : std::u16string(text);
    if (!popup)
        f->command = (f->flags & mf::separator) ? 0 : command;
    return true;
}

bool delete_menu(Menu m, std::uint32_t item, std::uint32_t flags)
{
    return take_out(m, item, flags, true);
}

bool remove_menu(Menu m, std::uint32_t item, std::uint32_t flags)
{
    return take_out(m, item, flags, false);
}

std::uint32_t check_menu_item(Menu m, std::uint32_t item, std::uint32_t flags)
{
    Found f = find_item(m, item, flags);
    if (!f)
        return no_menu_item;
    std::uint32_t before = f->flags & mf::checked;
    f->flags = (f->flags & ~mf::checked) | (flags & mf::checked);
    return before;
}

std::uint32_t enable_menu_item(Menu m, std::uint32_t item, std::uint32_t flags)
{
    Found f = find_item(m, item, flags);
    if (!f)
        return no_menu_item;
    std::uint32_t before = f->flags & (mf::grayed | mf::disabled);
    f->flags = (f->flags & ~(mf::grayed | mf::disabled)) | (flags & (mf::grayed | mf::disabled));
    return before;
}

int menu_item_count(Menu m)
{
    MenuRecord* r = menus().find(m);
    return r ? int(r->items.size()) : -1;
}

std::optional<MenuItemInfo> menu_item(Menu m, std::uint32_t item, std::uint32_t flags)
{
    Found f = find_item(m, item, flags);
    if (!f)
        return std::nullopt;
    return MenuItemInfo { f->flags, f->command, f->sub_menu, f->text };
}

Menu sub_menu(Menu m, int position)
{
    MenuRecord* r = menus().find(m);
    if (!r || position < 0 || std::size_t(position) >= r->items.size())
        return no_menu;
    return r->items[std::size_t(position)].sub_menu;
}

Menu load_menu(const Resources& resources, std::uint32_t id)
{
    const auto* items = resources.menu(id);
    return items ? build(*items) : no_menu;
}

}
