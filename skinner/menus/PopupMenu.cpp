#include "skinner/menus/PopupMenu.h"

#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"
#include "skinner/core/MenuEntry.h"

#include <array>

namespace skinner {

namespace {

void append_entry(const MenuEntry& entry, bool last, platform::Menu menu, MenuCommands& commands)
{
    std::uint32_t flags = (entry.enabled ? 0 : platform::mf::grayed) | (entry.checked ? platform::mf::checked : 0);
    std::u16string text = entry.text;
    if (!entry.shortcut.empty())
        text += u'\t' + entry.shortcut;
    if (entry.children.empty()) {
        platform::append_menu(menu, flags, std::uint32_t(commands.ids.size()), text);
        commands.ids.push_back(entry.id);
        if (commands.keep_owners)
            commands.owners.push_back(entry.owner);
    } else {
        platform::Menu sub = platform::create_popup_menu();
        fill_menu(entry, sub, commands);
        platform::append_menu(menu, flags | platform::mf::popup, sub, text);
    }
    if (entry.separator_after && !last)
        platform::append_menu(menu, platform::mf::separator, 0u, u"");
}

constexpr std::array<std::uint32_t, 3> horizontal_flags {
    platform::tpm::left_align, platform::tpm::center_align, platform::tpm::right_align
};
constexpr std::array<std::uint32_t, 3> vertical_flags {
    platform::tpm::top_align, platform::tpm::vcenter_align, platform::tpm::bottom_align
};

}

void fill_menu(const MenuEntry& entry, platform::Menu menu, MenuCommands& commands)
{
    for (std::size_t i = 0; i < entry.children.size(); ++i)
        append_entry(entry.children[i], i + 1 == entry.children.size(), menu, commands);
}

std::u16string show_popup_menu(platform::Window window, const MenuEntry& entry, platform::Point point,
    MenuAlignH horizontal, MenuAlignV vertical, Listener** owner)
{
    // Command 0 is "nothing chosen".
    MenuCommands commands { { std::u16string() }, { nullptr }, true };
    platform::Menu menu = platform::create_popup_menu();
    fill_menu(entry, menu, commands);
    std::uint32_t flags = horizontal_flags[std::size_t(horizontal)] | vertical_flags[std::size_t(vertical)]
        | platform::tpm::return_command;
    std::uint32_t chosen
        = platform::track_popup_menu(menu, flags, platform::client_to_screen(window, point), window);
    platform::destroy_menu(menu);
    if (chosen >= commands.ids.size())
        chosen = 0;
    if (owner)
        *owner = commands.owners[chosen];
    return commands.ids[chosen];
}

std::u16string show_popup_menu(const Form& form, const MenuEntry& entry, platform::Point point,
    MenuAlignH horizontal, MenuAlignV vertical, Listener** owner)
{
    return show_popup_menu(form.window().handle(), entry, point, horizontal, vertical, owner);
}

}
