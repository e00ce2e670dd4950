#pragma once

#include "platform/ui/MenuBar.h"
#include "skinner/menus/MenuManagerImpl.h"
#include "skinner/menus/PopupMenu.h"

#include <cstdint>
#include <optional>

namespace skinner {

struct MenuEntry;

// The menu bar of a form on the shell's bottom bar: one button per item of
// the form's menu list (or, with soft keys, two keys). The bar is made at the
// first build that finds the form's window visible, from one of five bar
// templates of the program's resources (menu_resources), so at most five
// forms of one kind have bars at once; a sixth is a fatal error. Command
// numbers 100 and up name the bar's buttons, then the items of the drop-down
// menu open last. GUI thread only.
class MenuManagerImplPocket final : public MenuManagerImpl {
public:
    explicit MenuManagerImplPocket(bool soft_keys);
    ~MenuManagerImplPocket() override;

    void on_command(Form& form, platform::WParam command_id) override;
    void on_init_menu_popup(Form& form, platform::Menu menu, std::uint32_t item) override;
    void on_hotkey(Form&, platform::WParam, platform::LParam) override { }
    void invalidate() override { m_out_of_date = true; }
    void build(Form& form) override;
    void set_visible(Form& form, bool visible) override;

    platform::Window bar() const { return m_info.bar; }
    // The bar template this manager holds, if any.
    std::optional<std::uint32_t> template_id() const { return m_template_id; }

    static constexpr std::uint32_t first_command = 100;

private:
    void create_bar(Form& form);
    void load_images();
    void reset_bar();
    void insert(const MenuEntry& entry, bool drop_down, bool last, int& position);

    platform::MenuBarInfo m_info;
    std::optional<std::uint32_t> m_template_id;
    // Index = command number; 0 to 99 stay empty.
    MenuCommands m_commands;
    std::size_t m_first_popup_command = first_command;
    int m_image_base = 0;
    int m_image_count = 0;
    bool m_soft_keys;
    bool m_out_of_date = false;
};

}
