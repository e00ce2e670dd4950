#pragma once

#include "skinner/core/MenuBarItem.h"
#include "skinner/widgets/buttons/ControlButtonImpl.h"

#include <string>

namespace skinner {

// The button as an entry of its form's menu bar, listed while the button is
// visible; the entry's command comes back to the button under its id.
class ControlButtonImplMenu5Pocket : public ControlButtonImpl, public MenuBarItem {
public:
    ControlButtonImplMenu5Pocket(
        ControlButtonBase& owner, std::u16string label, bool visible = true, bool focusable = true);
    ~ControlButtonImplMenu5Pocket() override;

    void set_text(std::u16string_view text) override;
    void set_visible(bool visible) override;
    void set_enabled(bool enabled) override;

    void build_menu_entry(MenuEntry& entry) override;
    bool has_submenu() override { return false; }
    std::u16string get_text() override { return m_label; }
    std::int32_t get_command_id() override;

private:
    std::u16string m_label;
    bool m_listed = false;
};

}
