#pragma once

#include "platform/core/Message.h"
#include "platform/ui/Menu.h"

namespace skinner {

class Form;

// The platform menu manager of a form's window: turns the form's menu items
// into the menu bar and routes the bar's commands back to their owners.
class MenuManagerImpl {
public:
    virtual ~MenuManagerImpl() = default;
    virtual void on_command(Form& form, platform::WParam command_id) = 0;
    virtual void on_init_menu_popup(Form& form, platform::Menu menu, std::uint32_t item) = 0;
    virtual void on_hotkey(Form& form, platform::WParam wparam, platform::LParam lparam) = 0;
    // Marks the bar out of date.
    virtual void invalidate() = 0;
    // Rebuilds the bar when it is out of date.
    virtual void build(Form& form) = 0;
    virtual void set_visible(Form& form, bool visible) = 0;
};

}
