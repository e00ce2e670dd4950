#pragma once

#include "platform/ui/MenuBar.h"
#include "skinner/menus/MenuBarResources.h"
#include "skinner/menus/MenuManagerImpl.h"

#include <cstdint>

namespace skinner {

struct MenuEntry;

// The two soft keys of a form: a bar made from the shell's soft-key template
// at the first build that finds the form's window visible, whose left and
// right keys show and act on the menus computed from the form's menu list
// (SoftKeyMenu). It also takes the Back key: an edit box with the focus
// deletes with it; elsewhere the form hears Escape and Backspace, and a main
// form that uses neither leaves for the previous screen on the release.
// GUI thread only.
class MenuManagerImplSmartphone final : public MenuManagerImpl {
public:
    MenuManagerImplSmartphone() = default;
    ~MenuManagerImplSmartphone() override;

    void on_command(Form& form, platform::WParam command_id) override;
    void on_init_menu_popup(Form&, platform::Menu, std::uint32_t) override { }
    void on_hotkey(Form& form, platform::WParam wparam, platform::LParam lparam) override;
    void invalidate() override { m_out_of_date = true; }
    void build(Form& form) override;
    void set_visible(Form& form, bool visible) override;

    platform::Window bar() const { return m_info.bar; }
    bool wants_to_go_back() const { return m_want_to_go_back; }

    static constexpr std::uint32_t bar_template = menu_resources::smartphone_bar;
    static constexpr std::int32_t left_key = menu_resources::smartphone_left_key;
    static constexpr std::int32_t right_key = menu_resources::smartphone_right_key;
    static constexpr std::uint32_t back_key = 27;

private:
    void create_bar(Form& form);
    void label_key(std::int32_t command, const MenuEntry& tree, std::uint8_t state);

    platform::MenuBarInfo m_info;
    bool m_out_of_date = false;
    bool m_want_to_go_back = false;
};

}
