#include "skinner/widgets/buttons/ControlButtonImplMenu5Pocket.h"

#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"

namespace skinner {

namespace {

// Menu items sort by command id; buttons come in z-order after the others.
constexpr std::int32_t button_command_base = 1000000;

}

ControlButtonImplMenu5Pocket::ControlButtonImplMenu5Pocket(
    ControlButtonBase& owner, std::u16string label, bool visible, bool focusable)
    : ControlButtonImpl(owner, visible, focusable)
    , m_label(std::move(label))
{
    set_visible(owner.is_visible());
}

ControlButtonImplMenu5Pocket::~ControlButtonImplMenu5Pocket()
{
    set_visible(false);
}

void ControlButtonImplMenu5Pocket::set_visible(bool visible)
{
    if (visible == m_listed)
        return;
    m_listed = visible;
    owner().on_menu_bar_item(owner(), *this, visible);
}

void ControlButtonImplMenu5Pocket::set_text(std::u16string_view)
{
    owner().on_menu_bar_changed(owner());
}

void ControlButtonImplMenu5Pocket::set_enabled(bool)
{
    owner().on_menu_bar_changed(owner());
}

void ControlButtonImplMenu5Pocket::build_menu_entry(MenuEntry& entry)
{
    entry = MenuEntry(owner().id(), owner().text());
    entry.enabled = owner().is_enabled();
    entry.owner = &owner();
}

std::int32_t ControlButtonImplMenu5Pocket::get_command_id()
{
    return owner().z_order() + button_command_base;
}

}
