#include "platform/core/Resources.h"

namespace platform {

namespace {

template<typename Map>
auto* find_in(const Map& map, std::uint32_t id)
{
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

}

void Resources::add_string(std::uint32_t id, std::u16string text)
{
    m_strings.insert_or_assign(id, std::move(text));
}

void Resources::add_menu(std::uint32_t id, std::vector<MenuTemplateItem> items)
{
    m_menus.insert_or_assign(id, std::move(items));
}

void Resources::add_menu_bar(std::uint32_t id, MenuBarTemplate bar)
{
    m_menu_bars.insert_or_assign(id, std::move(bar));
}

void Resources::add_picture(std::uint32_t id, std::vector<std::uint8_t> bytes)
{
    m_pictures.insert_or_assign(id, std::move(bytes));
}

std::optional<std::u16string_view> Resources::string(std::uint32_t id) const
{
    if (auto* s = find_in(m_strings, id))
        return std::u16string_view(*s);
    return std::nullopt;
}

const std::vector<MenuTemplateItem>* Resources::menu(std::uint32_t id) const
{
    return find_in(m_menus, id);
}

const MenuBarTemplate* Resources::menu_bar(std::uint32_t id) const
{
    return find_in(m_menu_bars, id);
}

std::optional<std::span<const std::uint8_t>> Resources::picture(std::uint32_t id) const
{
    if (auto* p = find_in(m_pictures, id))
        return std::span<const std::uint8_t>(*p);
    return std::nullopt;
}

Resources& program_resources()
{
    static Resources* resources = new Resources;
    return *resources;
}

}
