#include "skinner/menus/MenuManagerImplSmartphone.h"

#include "os/Log.h"
#include "platform/core/Resources.h"
#include "platform/core/Window.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"
#include "skinner/core/KeyCode.h"
#include "skinner/core/Listener.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/skin/ScreenMetrics.h"
#include "skinner/menus/PopupMenu.h"
#include "skinner/menus/SoftKeyMenu.h"
#include "skinner/skin/Properties.h"

#include <algorithm>

namespace skinner {

namespace {

constexpr std::uint8_t state_blank = 0x10;
constexpr std::uint32_t key_override_flags = platform::shmbof::no_default | platform::shmbof::notify;

std::u16string without_ampersands(std::u16string text)
{
    std::erase(text, u'&');
    return text;
}

// The classes of the shell's edit windows, which delete with the Back key.
bool is_edit_window(platform::Window window)
{
    std::u16string name = platform::window_class_name(window).substr(0, 10);
    for (char16_t& c : name)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return name == u"EDIT" || name == u"CAPEDIT";
}

}

MenuManagerImplSmartphone::~MenuManagerImplSmartphone()
{
    if (m_info.bar != platform::no_window)
        platform::destroy_window(m_info.bar);
}

void MenuManagerImplSmartphone::create_bar(Form& form)
{
    m_info = {};
    m_info.parent = form.window().handle();
    m_info.template_id = bar_template;
    m_info.resources = &platform::program_resources();
    if (!platform::create_menu_bar(m_info))
        return;
    for (std::int32_t command : { left_key, right_key }) {
        platform::ToolbarButtonInfo blank;
        blank.mask = platform::tbif::text | platform::tbif::state | platform::tbif::command;
        blank.command = command;
        blank.state = state_blank;
        platform::toolbar_set_button_info(m_info.bar, command, blank);
    }
    platform::menu_bar_override_key(m_info.bar, back_key, key_override_flags, key_override_flags);
}

void MenuManagerImplSmartphone::label_key(std::int32_t command, const MenuEntry& tree, std::uint8_t state)
{
    platform::ToolbarButtonInfo info;
    info.mask = platform::tbif::text | platform::tbif::state | platform::tbif::command;
    info.command = command;
    info.state = state;
    info.text = without_ampersands(tree.text);
    platform::toolbar_set_button_info(m_info.bar, command, info);
}

void MenuManagerImplSmartphone::build(Form& form)
{
    if (!m_out_of_date)
        return;
    m_out_of_date = false;
    if (m_info.bar == platform::no_window && platform::is_window_visible(form.window().handle()))
        create_bar(form);
    if (m_info.bar == platform::no_window)
        return;
    MenuEntry left(u"#FakeIdSoft1#", u"");
    SoftKeyMenu::fill_left(form.menu_items(), form.properties().translator(), left);
    MenuEntry right(u"#FakeIdSoft2#", u"");
    SoftKeyMenu::fill_right(form.menu_items(), form.properties().translator(), right);
    label_key(left_key, left, platform::tbstate::enabled);
    label_key(right_key, right, platform::tbstate::enabled);
}

void MenuManagerImplSmartphone::on_command(Form& form, platform::WParam command_id)
{
    const bool left = command_id == platform::WParam(left_key);
    if (!left && command_id != platform::WParam(right_key))
        return;
    MenuEntry entry(u"#FakeId#", u"");
    if (left)
        SoftKeyMenu::fill_left(form.menu_items(), form.properties().translator(), entry);
    else
        SoftKeyMenu::fill_right(form.menu_items(), form.properties().translator(), entry);
    if (entry.children.empty()) {
        if (entry.owner && entry.enabled)
            entry.owner->on_command(entry.id);
        return;
    }
    const WorkAreaRect area = get_work_area(false);
    const platform::Point at { left ? 0 : area.size.width, area.size.height + 1 };
    Listener* owner = nullptr;
    const std::u16string chosen = show_popup_menu(
        form, entry, at, left ? MenuAlignH::left : MenuAlignH::right, MenuAlignV::bottom, &owner);
    if (!chosen.empty() && owner)
        owner->on_command(chosen);
}

void MenuManagerImplSmartphone::on_hotkey(Form& form, platform::WParam wparam, platform::LParam lparam)
{
    if (platform::hot_key_key(lparam) != back_key)
        return;
    const platform::Window focus = platform::focus_window();
    if (focus != platform::no_window && is_edit_window(focus)) {
        platform::send_back_to_focus_window(platform::msg::hot_key, wparam, lparam);
        return;
    }
    if (!(platform::hot_key_modifiers(lparam) & platform::mod::key_up)) {
        const bool escape_used = form.on_keydown(key::escape);
        const bool back_used = form.on_keydown(key::back);
        if (!escape_used && !back_used && !form.owner()) {
            os::log() << u"want_to_go_back = true\n";
            m_want_to_go_back = true;
        }
        return;
    }
    form.on_keyup(key::escape);
    form.on_keyup(key::back);
    if (m_want_to_go_back) {
        m_want_to_go_back = false;
        os::log() << u"SHSendBackToFocusWindow\n";
        platform::navigate_back();
    }
}

void MenuManagerImplSmartphone::set_visible(Form&, bool visible)
{
    if (visible)
        m_out_of_date = true;
    if (m_info.bar != platform::no_window)
        platform::show_window(m_info.bar, visible ? platform::sw::show : platform::sw::hide);
}

}
