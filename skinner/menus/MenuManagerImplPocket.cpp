#include "skinner/menus/MenuManagerImplPocket.h"

#include "os/Log.h"
#include "platform/core/Resources.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Picture.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"
#include "skinner/core/Listener.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/menus/MenuBarResources.h"
#include "skinner/menus/MenuManager.h"
#include "skinner/menus/SoftKeyMenu.h"
#include "skinner/skin/Properties.h"

#include <algorithm>
#include <vector>

namespace skinner {

namespace {

constexpr int logpixelsx = 88;

// The bar templates not in use, per kind; the last one returned goes first.
std::vector<std::uint32_t>& template_pool(bool soft_keys)
{
    static std::vector<std::uint32_t> pools[2] = { {}, {} };
    static bool filled = false;
    if (!filled) {
        filled = true;
        for (std::uint32_t i = 0; i < menu_resources::bar_count; ++i) {
            pools[0].push_back(menu_resources::first_bar + i);
            pools[1].push_back(menu_resources::first_soft_key_bar + i);
        }
    }
    return pools[soft_keys ? 1 : 0];
}

std::u16string without_ampersands(std::u16string text)
{
    std::erase(text, u'&');
    return text;
}

}

MenuManagerImplPocket::MenuManagerImplPocket(bool soft_keys)
    : m_soft_keys(soft_keys)
{
}

MenuManagerImplPocket::~MenuManagerImplPocket()
{
    if (m_info.bar != platform::no_window)
        platform::destroy_window(m_info.bar);
    if (m_template_id) {
        os::log() << u"~MenuManagerImplPocket() returning id" << int(*m_template_id) << u"\n";
        template_pool(m_soft_keys).push_back(*m_template_id);
    }
}

void MenuManagerImplPocket::create_bar(Form& form)
{
    auto& pool = template_pool(m_soft_keys);
    if (pool.empty())
        os::fatal_error(u"ControlMenuMainImpl", u"Add more tolbar ids to the resource file! :)");
    m_template_id = pool.back();
    pool.pop_back();

    m_info = {};
    m_info.parent = form.window().handle();
    m_info.template_id = *m_template_id;
    m_info.resources = &platform::program_resources();
    os::log() << u"MenuManagerImplPocket::build() creating " << int(*m_template_id) << u"\n";
    if (!platform::create_menu_bar(m_info)) {
        os::log() << u"ERROR: SHCreateMenuBar failed\n";
        // A bar that was not made holds no template: the next build tries again.
        pool.push_back(*m_template_id);
        m_template_id.reset();
        return;
    }

    if (m_soft_keys) {
        os::log() << u"MenuManagerImplPocket::build() creating softbuttons\n";
        for (std::int32_t command : { 40000, 40001 }) {
            platform::ToolbarButtonInfo blank;
            blank.mask = platform::tbif::text | platform::tbif::state | platform::tbif::command;
            blank.command = command;
            blank.state = 0x10;
            platform::toolbar_set_button_info(m_info.bar, command, blank);
        }
        return;
    }
    load_images();
    reset_bar();
}

void MenuManagerImplPocket::load_images()
{
    os::log() << u"MenuManagerImplPocket::build() loading bitmaps\n";
    const auto& resources = platform::program_resources();
    int size = 16;
    std::uint32_t id = menu_resources::images_16;
    if (platform::DeviceContext::for_screen().device_caps(logpixelsx) == 192 && resources.picture(menu_resources::images_32)) {
        size = 32;
        id = menu_resources::images_32;
    }
    auto bytes = resources.picture(id);
    if (!bytes) {
        os::log() << u"ERROR: LoadBitmap failed\n";
        return;
    }
    auto decoded = platform::decode_picture(*bytes);
    if (!decoded.picture) {
        os::log() << u"ERROR: Toolbar image failed to load\n";
        return;
    }
    m_image_count = decoded.picture->bitmap->width() / size;
    m_image_base = platform::menu_bar_add_bitmap(m_info.bar, resources, id, m_image_count, size, size);
}

void MenuManagerImplPocket::reset_bar()
{
    for (int n = platform::toolbar_button_count(m_info.bar); n > 0; --n)
        platform::toolbar_delete_button(m_info.bar, 0);
    m_commands.ids.assign(first_command, std::u16string());
    m_commands.owners.assign(first_command, nullptr);
    m_first_popup_command = first_command;
}

void MenuManagerImplPocket::build(Form& form)
{
    if (!m_out_of_date)
        return;
    m_out_of_date = false;
    if (m_info.bar == platform::no_window && platform::is_window_visible(form.window().handle()))
        create_bar(form);
    if (m_info.bar == platform::no_window)
        return;
    reset_bar();
    int position = 0;
    if (m_soft_keys) {
        MenuEntry left(u"#FakeId#", u"");
        SoftKeyMenu::fill_left(form.menu_items(), form.properties().translator(), left);
        MenuEntry right(u"#FakeId#", u"");
        SoftKeyMenu::fill_right(form.menu_items(), form.properties().translator(), right);
        insert(left, !left.children.empty(), false, position);
        insert(right, !right.children.empty(), false, position);
    } else {
        const auto& items = form.menu_items().items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            MenuEntry entry;
            items[i]->build_menu_entry(entry);
            insert(entry, items[i]->has_submenu(), i + 1 == items.size(), position);
        }
    }
    m_first_popup_command = m_commands.ids.size();
}

void MenuManagerImplPocket::insert(const MenuEntry& entry, bool drop_down, bool last, int& position)
{
    os::log() << u"wince_bug_resource_id=" << int(entry.image) << u" text=" << entry.text << u" id=" << entry.id
              << u"\n";
    platform::ToolbarButton button;
    if (entry.image >= 0 && entry.image < m_image_count) {
        button.image = m_image_base + entry.image;
        os::log() << u"Using bitmap with wince_bug_resource_id=" << int(entry.image) << u"\n";
    } else if (entry.image >= m_image_count) {
        os::log() << u"ERROR: invalid toolbar image requested. wince_bug_resource_id=" << int(entry.image) << u"\n";
    }
    button.state = entry.enabled ? platform::tbstate::enabled : 0;
    button.text = without_ampersands(entry.text);
    button.command = std::int32_t(m_commands.ids.size());
    m_commands.ids.push_back(entry.id);
    m_commands.owners.push_back(entry.owner);
    const bool has_text = !button.text.empty();
    if (drop_down) {
        button.menu = platform::create_popup_menu();
        button.style = platform::tbstyle::whole_drop_down | platform::tbstyle::drop_down
            | (has_text ? platform::tbstyle::auto_size : 0);
    } else {
        button.style = has_text ? platform::tbstyle::auto_size : 0;
    }
    platform::toolbar_insert_button(m_info.bar, position++, button);
    if (entry.separator_after && !last) {
        platform::ToolbarButton separator;
        separator.state = 0;
        separator.style = platform::tbstyle::separator;
        platform::toolbar_insert_button(m_info.bar, position++, separator);
    }
}

void MenuManagerImplPocket::on_command(Form&, platform::WParam command_id)
{
    if (command_id < first_command || command_id >= m_commands.ids.size())
        return;
    if (Listener* owner = m_commands.owners[command_id])
        owner->on_command(m_commands.ids[command_id]);
}

void MenuManagerImplPocket::on_init_menu_popup(Form& form, platform::Menu menu, std::uint32_t item)
{
    if (item < first_command || item >= m_first_popup_command)
        return;
    m_commands.ids.resize(m_first_popup_command);
    m_commands.owners.resize(m_first_popup_command);
    while (platform::delete_menu(menu, 0, platform::mf::by_position)) { }
    if (m_soft_keys) {
        MenuEntry entry(u"#FakeId#", u"");
        if (item == first_command)
            SoftKeyMenu::fill_left(form.menu_items(), form.properties().translator(), entry);
        else
            SoftKeyMenu::fill_right(form.menu_items(), form.properties().translator(), entry);
        fill_menu(entry, menu, m_commands);
        return;
    }
    const auto& items = form.menu_items().items();
    const std::size_t index = item - first_command;
    if (index >= items.size())
        return;
    MenuEntry entry;
    items[index]->build_menu_entry(entry);
    form.menu_items().fill(entry);
    fill_menu(entry, menu, m_commands);
}

void MenuManagerImplPocket::set_visible(Form&, bool visible)
{
    if (visible)
        m_out_of_date = true;
    if (m_info.bar == platform::no_window)
        return;
    os::log() << u"MenuManagerImplPocket::set_visible=" << int(visible) << u"\n";
    platform::show_window(m_info.bar, visible ? platform::sw::show : platform::sw::hide);
}

}
