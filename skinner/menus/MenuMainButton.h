#pragma once

#include "skinner/core/Control.h"
#include "skinner/menus/MenuManager.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace skinner {

class Container;

// One button of its form's menu bar, declared in code. Buttons lie on the bar
// in the order given at construction; the text is translated under the
// button's id. Hidden buttons leave the bar.
class MenuMainButton : public Control, public MenuManager::Item {
public:
    MenuMainButton(Container& container, std::u16string_view id, std::u16string_view text, std::int32_t order,
        std::u16string_view label = {});
    ~MenuMainButton() override;

    void build_menu_entry(MenuEntry& entry) override;
    bool has_submenu() override { return false; }
    std::u16string get_text() override;
    std::int32_t get_command_id() override { return z_order(); }

    void load() override;
    void on_visible_changed(bool visible) override;
    void on_enabled_changed(bool enabled) override;

    void set_separator_after(bool separator);
    void set_image_index(std::int32_t image);
    const std::u16string& text() const { return m_text; }

private:
    void translate_text();
    MenuManager& menu_items() const;

    std::u16string m_text;
    bool m_separator_after = false;
    bool m_checked = false;
    std::int32_t m_image = -1;
    std::u16string m_label;
};

}
